// The build without the window has no drawing library.
#include "controls/response_graph_png.h"

namespace zr78 {

GraphPictureResult saveResponseGraphPng(const RegisterImage&, const GraphPictureOptions&) {
  return {GraphPictureStatus::kUnavailable,
          "PNG pictures are unavailable: this zr78ctl was built without the window "
         "(ZR78_BUILD_UI=OFF)"};
}

}  // namespace zr78

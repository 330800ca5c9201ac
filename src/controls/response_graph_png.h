// The response graph of a register image as a PNG file, drawn by the same
// model and painter as the window's graph, offscreen, over the window's
// panel artwork. For zr78ctl; this header needs no Qt. In a build without
// the window (ZR78_BUILD_UI=OFF) every call reports that it is unavailable.
#pragma once

#include <string>

#include "registers/register_map.h"

namespace zr78 {

struct GraphPictureOptions {
  int channel = 0;           // the current channel, 0..7
  bool allChannels = false;  // the other seven curves shown as well
  int plotWidth = 977;       // the plot; the picture adds the graph's margins
  int plotHeight = 185;      // (the EQ panel's graph at scale 1 by default)
  std::string path;          // the PNG file written
};

enum class GraphPictureStatus { kWritten, kBadRequest, kUnavailable, kCannotDraw, kCannotWrite };
struct GraphPictureResult {
  GraphPictureStatus status = GraphPictureStatus::kWritten;
  std::string message;  // why no picture was written
};

GraphPictureResult saveResponseGraphPng(const RegisterImage& registers,
                                        const GraphPictureOptions& options);

}  // namespace zr78

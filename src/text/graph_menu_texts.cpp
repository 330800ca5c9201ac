#include "text/graph_menu_texts.h"

namespace zr78 {
namespace {

constexpr NumberedEntry<GraphMenuText> kGraphMenuRows[] = {
    {GraphMenuText::kSavePicture, {"保存曲线图为PNG…", "儲存曲線圖為PNG…", "Save graph as PNG…"}},
    {GraphMenuText::kPictureFilter, {"PNG图片 (*.png)", "PNG圖檔 (*.png)", "PNG image (*.png)"}},
};
static_assert(std::size(kGraphMenuRows) == static_cast<size_t>(GraphMenuText::kCount),
              "one row per entry of the enum");
constexpr auto kGraphMenuTable = orderedTable(kGraphMenuRows);

}  // namespace

template <>
std::span<const TextEntry> windowTable<GraphMenuText>() {
  return kGraphMenuTable;
}

}  // namespace zr78

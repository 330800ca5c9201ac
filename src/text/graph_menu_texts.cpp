#include "text/graph_menu_texts.h"

namespace zr78 {
namespace {

constexpr NumberedEntry<GraphMenuText> kGraphMenuRows[] = {
    {GraphMenuText::kSavePicture, {"保存曲线图为PNG…", "儲存曲線圖為PNG…", "Save graph as PNG…"}},
    {GraphMenuText::kPictureFilter, {"PNG图片 (*.png)", "PNG圖檔 (*.png)", "PNG image (*.png)"}},
    {GraphMenuText::kImportFilters, {"导入滤波器…", "匯入濾波器…", "Import filters…"}},
    {GraphMenuText::kExportFilters, {"导出滤波器…", "匯出濾波器…", "Export filters…"}},
    {GraphMenuText::kFilterTextFilter,
     {"滤波器文本 (*.txt);;所有文件 (*)", "濾波器文字檔 (*.txt);;所有檔案 (*)",
      "Filter text (*.txt);;All files (*)"}},
};
constexpr auto kGraphMenuTable = windowRows(kGraphMenuRows);

}  // namespace

template <>
std::span<const TextEntry> windowTable<GraphMenuText>() {
  return kGraphMenuTable;
}

}  // namespace zr78

#include "platform/common/text_canvas.h"

#include <algorithm>

namespace platform {

void TextCanvas::reset(int columns, int rows) {
    columns_ = columns;
    rows_ = rows;
    cells_.assign(static_cast<std::size_t>(columns * rows), ' ');
}

void TextCanvas::setCell(int cellWidth, int cellHeight, int overhang) {
    cellWidth_ = std::max(1, cellWidth);
    cellHeight_ = std::max(1, cellHeight);
    overhang_ = overhang;
}

void TextCanvas::drawText(int x, int y, std::string_view text) {
    if (y < 0 || (x - overhang_) < 0) return;
    int r = y / cellHeight_;
    int c = (x - overhang_) / cellWidth_;
    if (r >= rows_) return;
    for (char ch : text) {
        if (c >= columns_) break;
        cells_[static_cast<std::size_t>(r * columns_ + c)] = ch;
        ++c;
    }
}

void TextCanvas::scrollUp(int top, int height, int by) {
    int firstRow = top / cellHeight_;
    int rowCount = height / cellHeight_;
    int shift = by / cellHeight_;
    if (shift <= 0 || rowCount <= 0) return;
    for (int r = firstRow; r < firstRow + rowCount && r < rows_; ++r) {
        int target = r - shift;
        if (target < 0) continue;
        std::copy_n(cells_.begin() + r * columns_, columns_, cells_.begin() + target * columns_);
    }
    int blankFrom = std::max(0, firstRow + rowCount - shift);
    for (int r = blankFrom; r < firstRow + rowCount && r < rows_; ++r)
        std::fill_n(cells_.begin() + r * columns_, columns_, ' ');
}

std::string TextCanvas::row(int r) const {
    if (r < 0 || r >= rows_) return std::string(static_cast<std::size_t>(columns_), ' ');
    std::string out(cells_.begin() + r * columns_, cells_.begin() + (r + 1) * columns_);
    // Control characters never show; keep the line printable.
    for (char& ch : out)
        if (static_cast<unsigned char>(ch) < 32) ch = ' ';
    return out;
}

}  // namespace platform

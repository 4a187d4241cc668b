// What the window shows, cell by cell: the platform layer follows every run
// of text drawn and every scroll, so that a run can report its screen as the
// user saw it, on any backend.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TextCanvas {
public:
    void reset(int columns, int rows);
    void setCell(int cellWidth, int cellHeight, int overhang);
    void drawText(int x, int y, std::string_view text);
    void scrollUp(int top, int height, int by);
    std::string row(int r) const;  // always `columns` bytes; blanks where empty
    int rows() const { return rows_; }

private:
    int columns_ = 80, rows_ = 25;
    int cellWidth_ = 8, cellHeight_ = 16, overhang_ = 0;
    std::vector<char> cells_ = std::vector<char>(80 * 25, ' ');
};

}  // namespace platform

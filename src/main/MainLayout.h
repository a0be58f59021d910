#pragma once
// Where the main window's controls go for a given window size. Everything in twips.

namespace mainlayout {

constexpr int kMinNormalWidth = 9000;
constexpr int kMinNormalHeight = 6000;
constexpr int kButtonsHeight = 540;
constexpr int kMainTop = 495;
constexpr int kGridLeft = 30;
constexpr int kGridTop = 120;
constexpr int kStatusLeft = 15;
constexpr int kStatusHeight = 285;
constexpr int kComboTop = 150;
constexpr int kComboWidth = 3975;
constexpr int kButtonTop = 120;
constexpr int kButtonWidth = 408;
constexpr int kButtonHeight = 372;

struct Input {
    int outerWidth;       // the window including its frame
    int clientHeight;     // the area below the menu bar
    int headerRowHeight;  // the grid's header row
    int pixel;            // one screen pixel
};

struct Result {
    int buttonsWidth;
    int comboLeft;
    int mainWidth;
    int mainHeight;
    int gridWidth;
    int gridHeight;
    int statusTop;
    int statusWidth;
    int visibleRows;  // data rows that fit in the grid
};

Result compute(const Input& in);

} // namespace mainlayout

#include "main/MainLayout.h"

#include <cmath>

namespace mainlayout {

Result compute(const Input& in)
{
    Result r{};
    r.buttonsWidth = in.outerWidth - 120;
    r.comboLeft = r.buttonsWidth - 4100;
    r.mainWidth = r.buttonsWidth;
    r.mainHeight = in.clientHeight - kMainTop - (kStatusHeight + 60);
    r.gridWidth = r.mainWidth - 60;
    r.gridHeight = r.mainHeight - 140;
    const int rowPitch = in.headerRowHeight + in.pixel;
    // Rounded to the nearest whole number, halves to the even one.
    r.visibleRows = rowPitch > 0
        ? static_cast<int>(std::nearbyint(static_cast<double>(r.gridHeight) / rowPitch - 3.0))
        : 0;
    r.statusTop = kMainTop + r.mainHeight + 35;
    r.statusWidth = r.buttonsWidth;
    return r;
}

} // namespace mainlayout

#pragma once

#include <array>
#include <stdexcept>
#include <string_view>

#include <QRect>

#include "Twips.h"

namespace tonovka {

// Where one control of the house front lies on the main window's client area, in twips, and
// whether it shows when the window opens. The two side strips share the name Shape1 and are told
// apart by their element number; every other control has none.
struct HousePlace {
    std::string_view name;
    int element;
    int left, top, width, height;
    bool shown;

    constexpr QRect rect() const { return twipsRect(left, top, width, height); }
};

inline constexpr int kNoElement = -1;

// The main window's size with its frame (and menu bar), in twips: the frame is the window
// manager's, so the client area is what is left inside it.
inline constexpr int kOuterWidth = 7560;
inline constexpr int kOuterHeight = 6210;

// The house front, top of the drawing order first: each control lies over every one after it.
// The windows of the house are okno1 to okno15, row by row from the top left.
inline constexpr std::array<HousePlace, 28> kHouseLayout = {{
    {"voda", kNoElement, 0, 1320, 7575, 4695, false},
    {"okno", kNoElement, 3720, 5040, 1095, 855, false},
    {"zenaIMG", kNoElement, 4440, 5040, 1080, 855, false},
    {"chlapIMG", kNoElement, 3120, 5040, 1080, 855, false},
    {"timecountLBL", kNoElement, 6240, 240, 735, 375, true},
    {"timeLBL", kNoElement, 5520, 240, 735, 375, true},
    {"scorecountLBL", kNoElement, 6240, 0, 975, 375, true},
    {"scoreLBL", kNoElement, 5400, 0, 735, 375, true},
    {"zenaLBL", kNoElement, 1680, 5280, 975, 255, false},
    {"chlapLBL", kNoElement, 1680, 5040, 975, 255, false},
    {"Shape1", 1, 7200, 1800, 255, 4815, true},
    {"Shape1", 0, 0, 1800, 255, 4815, true},
    {"okno13", kNoElement, 3120, 4200, 1095, 855, true},
    {"okno15", kNoElement, 5760, 4200, 1095, 855, true},
    {"okno14", kNoElement, 4440, 4200, 1095, 855, true},
    {"okno12", kNoElement, 1800, 4200, 1095, 855, true},
    {"okno10", kNoElement, 5760, 3240, 1095, 855, true},
    {"okno5", kNoElement, 5760, 2280, 1095, 855, true},
    {"okno9", kNoElement, 4440, 3240, 1095, 855, true},
    {"okno11", kNoElement, 480, 4200, 1095, 855, true},
    {"okno8", kNoElement, 3120, 3240, 1095, 855, true},
    {"okno7", kNoElement, 1800, 3240, 1095, 855, true},
    {"okno6", kNoElement, 480, 3240, 1095, 855, true},
    {"okno2", kNoElement, 1800, 2280, 1095, 855, true},
    {"okno4", kNoElement, 4440, 2280, 1095, 855, true},
    {"okno3", kNoElement, 3120, 2280, 1095, 855, true},
    {"okno1", kNoElement, 480, 2280, 1095, 855, true},
    {"strecha", kNoElement, 0, 0, 7395, 1770, true},
}};

constexpr const HousePlace& housePlace(std::string_view name, int element = kNoElement)
{
    for (const HousePlace& place : kHouseLayout) {
        if (place.name == name && place.element == element)
            return place;
    }
    throw std::out_of_range("no such control of the house front");
}

} // namespace tonovka

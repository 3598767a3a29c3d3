#pragma once
// Form1 as it is laid out: the window and its controls, at fixed places in twips. Both front
// ends build the window from this one table.
#include "platform/WindowSurface.h"

namespace pendrel::Form1Layout {

// A control's place in twips, from the top-left corner of the window's client area.
struct Place {
    float left, top, width, height;
};

inline constexpr float ClientWidth = 7350.0f;
inline constexpr float ClientHeight = 4020.0f;
// Replaced at load; never seen.
inline constexpr const char* DesignCaption = "Tallowick";

// In creation order, which is also the stacking order.
inline constexpr Place Check4{120, 2520, 7095, 615};     // Add Folder
inline constexpr Place ListView1{120, 120, 7095, 1575};  // the queue
// Wholly left of the client area, so it is never seen; it holds the focus at first.
inline constexpr Place Command1{-720, 2640, 615, 495};
inline constexpr Place Check2{120, 3240, 7095, 615};  // Convert
inline constexpr Place Check1{120, 1800, 7095, 615};  // Add Files

// The picture buttons show no text: screen readers read these instead.
struct Accessible {
    const char* name;
    const char* description;
};
inline constexpr Accessible Check1Accessible{"Add Word Files",
                                             "Pick Word documents to add to the queue"};
inline constexpr Accessible Check4Accessible{
    "Add Folder", "Add every Word document of a folder and its subfolders to the queue"};
inline constexpr Accessible Check2Accessible{
    "Convert to PDF", "Convert every queued document to a PDF file beside it"};

inline constexpr const char* Command1Caption = "Command1";
inline constexpr const char* ListToolTip = "Double-click item to remove it.";

// The fonts: the list's Arial 9 point bold; the picture buttons carry no caption to draw.
inline constexpr const char* ListFontName = "Arial";
inline constexpr int ListFontPoints = 9;

}  // namespace pendrel::Form1Layout

#pragma once
// What the program and a "Word.Application" agree on: the calls the program makes, as one table
// that the caller builds its arguments from and the embedded engine checks them against; the
// printer it prints to; and that printer's "Save As" dialog, which the program answers from
// outside and the embedded engine shows.
#include <array>
#include <chrono>
#include <vector>

#include "platform/Automation.h"

namespace pendrel::WordContract {

struct Argument {
    const char* name;
    Variant value;
};

// The printer PrintOut prints to. It asks for the PDF's name in its dialog.
inline constexpr const char* PdfPrinterName = "PDF Writer";

// The printer's dialog as windows are found: a dialog box of the class "#32770" with the
// title "Save As", whose first "Edit" child takes the name and whose "Button" "&Save" saves.
inline constexpr const char* SaveAsDialogClass = "#32770";
inline constexpr const char* SaveAsDialogTitle = "Save As";
inline constexpr const char* SaveAsEditClass = "Edit";
inline constexpr const char* SaveAsButtonClass = "Button";
inline constexpr const char* SaveAsSaveButton = "&Save";

// Once its dialog is answered, the printer writes the PDF or fails within this long.
inline constexpr std::chrono::seconds PrinterRenderLimit{300};

// Documents.Open in its sixteen-argument form: FileName, then fifteen omitted.
inline constexpr std::size_t OpenArgumentCount = 16;

// PrintOut's nineteen arguments: a background print of the whole document, one copy, to the
// printer. The output name reaches the printer only through its dialog: no OutputFileName, no
// FileName, no PrintToFile.
inline const std::array<Argument, 19>& PrintOutArguments() {
    static const std::array<Argument, 19> arguments{{
        {"Background", Variant::Bool(true)},  // PrintOut returns before the dialog shows
        {"Append", Variant::Missing()},
        {"Range", Variant::Int32(0)},  // the whole document
        {"OutputFileName", Variant::Missing()},
        {"From", Variant::Missing()},
        {"To", Variant::Missing()},
        {"Item", Variant::Int32(0)},  // the document's content
        {"Copies", Variant::Int16(1)},
        {"Pages", Variant::String("")},
        {"PageType", Variant::Int32(0)},  // all pages
        {"PrintToFile", Variant::Bool(false)},
        {"Collate", Variant::Bool(true)},
        {"FileName", Variant::String("")},
        {"ActivePrinterMacGX", Variant::Missing()},
        {"ManualDuplexPrint", Variant::Bool(false)},
        {"PrintZoomColumn", Variant::Int16(0)},
        {"PrintZoomRow", Variant::Int16(0)},
        {"PrintZoomPaperWidth", Variant::Int16(0)},
        {"PrintZoomPaperHeight", Variant::Int16(0)},
    }};
    return arguments;
}

// The values alone, in order, as PrintOut is called with them.
inline std::vector<Variant> PrintOutValues() {
    std::vector<Variant> values;
    for (const Argument& argument : PrintOutArguments()) values.push_back(argument.value);
    return values;
}

}  // namespace pendrel::WordContract

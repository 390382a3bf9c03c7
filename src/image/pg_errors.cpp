#include "image/pg_errors.h"

#include <array>

namespace pigmentaria {

namespace {

// English column of the message table, by number. Entries 0 and 84 are empty.
const std::array<const char*, msgLast + 1> kEnglish = {
    "",
    "X, Y index out of range",
    "No palette",
    "Invalid palette index",
    "Unknown clipboard format",
    "Invalid temporary file",
    "Unknown file format",
    "%S1 invalid",
    "black and white",
    "2 colors",
    "16 shades of gray",
    "16 system colors",
    "16 colors",
    "256 shades of gray",
    "256 colors",
    "16.7 million colors",
    "%S1 is empty",
    "The graphic cannot be saved to a %S1 file with the current color resolution (%S2).\n\n"
    "The graphic will be saved with a different color resolution (%S3).",
    "The graphic cannot be saved with to a %S1 file with the current color resolution (%S2)",
    "Unknown file extension \"%S1\"",
    "Invalid value for %S1",
    "Negative height",
    "Negative width",
    "Cannot apply this filter to a source that is identical to the target",
    "bit",
    "Image files",
    "All files",
    "Invalid size of %S1",
    "Warning",
    "Operation aborted on user request",
    "Not supported subformat",
    "%S1 failed",
    "Unexpected end of file",
    "Unknown subformat",
    "Not a %S1 file",
    "Width = 0 or Height = 0",
    "Invalid color resolution",
    "Unsupported field type %S1",
    "Invalid count of bytes in row %S1",
    "Unsupported Compression",
    "Saturation=0 and Hue defined",
    "%S1 out of range",
    "OK",
    "Cancel",
    "RGB Filter",
    "R",
    "G",
    "B",
    "CMY Filter",
    "C",
    "M",
    "Y",
    "YCbCr Filter",
    "Y",
    "Cb",
    "Cr",
    "HLS Filter",
    "H",
    "L",
    "S",
    "HSV Filter",
    "V",
    "Negative Filter",
    "Gamma",
    "RGB",
    "Y",
    "Brightness",
    "Contrast",
    "Apply on",
    "Brightness, Contrast, Gamma Filter",
    "Grayscale Filter",
    "RGB weighting",
    "Std. deviation",
    "Strength",
    "Sharpen",
    "Detail",
    "Smooth",
    "Radius",
    "Blur",
    "Contour",
    "White",
    "Black",
    "\xC2\xB1",
    "\xC2\xB0",
    "",
};

} // namespace

std::string PGMessage(int number, const std::string& s1, const std::string& s2,
                      const std::string& s3) {
    if (number < 0 || number > msgLast) return {};
    const std::string text = kEnglish[static_cast<std::size_t>(number)];
    const std::string* args[3] = {&s1, &s2, &s3};
    bool used[3] = {false, false, false};
    std::string out;
    out.reserve(text.size() + s1.size() + s2.size() + s3.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == 'S' && text[i + 2] >= '1' &&
            text[i + 2] <= '3') {
            const int k = text[i + 2] - '1';
            if (!used[k]) {
                used[k] = true;
                out += *args[k];
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool PGWarning(IMessageSink* messages, TPGWarningAction action, const std::string& text) {
    switch (action) {
    case pgwaIgnore:
        return true;
    case pgwaOKBox:
        if (messages) messages->Warning(text);
        return true;
    case pgwaOKCancelBox:
        return messages ? messages->Confirm(text) : true;
    case pgwaRaise:
        return false;
    }
    return false;
}

} // namespace pigmentaria

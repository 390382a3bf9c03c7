#pragma once
// The convert command's filter option: a filter dialog's settings written on one argument.
#include "convert/import_session.h"

#include <string>

namespace pigmentaria::cli {

// Reads "NAME[:SETTING=VALUE,...]" (for example "sharpen:sigma=1.0,strength=60" or
// "bcg:contrast=1.5,apply=y") into the settings and returns the filter's kind. Numbers are
// written with a full stop whatever the locale. Throws std::invalid_argument naming what is
// wrong.
TFilterKind ParseFilterOption(const std::string& text, TFilterSettings& settings);

} // namespace pigmentaria::cli

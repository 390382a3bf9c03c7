#pragma once
// The import dialog's template group in the settings file "kv.ini". The block's layout stays as
// it is: the group's keys ("key=value" lines, see convert/template_settings.h) go into the
// block's first reserved bytes after a "[template]" line, ended by a NUL. A block that never held
// them reads as the defaults, and storing the defaults into it changes no byte.
#include "convert/template_settings.h"
#include "platform/settings.h"

namespace pigmentaria {

inline constexpr const char* TemplateSettingsTag = "[template]\n";
// The group's share of the reserved bytes, from the first: the New Template dialog keeps the rest.
constexpr std::size_t TemplateSettingsBytes = 256;

TTemplateImportSettings TemplateImportSettings(const TSettingsBlock& block);
// A paints file name that would not fit the reserved bytes is stored empty rather than cut short.
void SetTemplateImportSettings(TSettingsBlock& block, const TTemplateImportSettings& settings);

} // namespace pigmentaria

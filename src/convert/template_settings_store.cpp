#include "convert/template_settings_store.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace pigmentaria {

namespace {

// The keys in the reserved bytes, or nothing when they hold none.
std::optional<std::string_view> StoredKeys(const TSettingsBlock& block) {
    const auto* data = reinterpret_cast<const char*>(block.Reserved.data());
    const std::string_view all(data, TemplateSettingsBytes);
    const std::string_view tag = TemplateSettingsTag;
    if (!all.starts_with(tag)) return std::nullopt;
    const std::size_t end = all.find('\0');
    // Without its NUL the record is not ours (or was cut): it is not read.
    if (end == std::string_view::npos) return std::nullopt;
    return all.substr(tag.size(), end - tag.size());
}

} // namespace

TTemplateImportSettings TemplateImportSettings(const TSettingsBlock& block) {
    const std::optional<std::string_view> keys = StoredKeys(block);
    return keys ? DecodeTemplateKeys(*keys) : TTemplateImportSettings{};
}

void SetTemplateImportSettings(TSettingsBlock& block, const TTemplateImportSettings& in) {
    TTemplateImportSettings s = in;
    s.Clamp();
    if (!StoredKeys(block) && s == TTemplateImportSettings{}) return;
    std::string record = TemplateSettingsTag + EncodeTemplateKeys(s);
    if (record.size() >= TemplateSettingsBytes) {
        s.PaintsFile.clear();
        record = TemplateSettingsTag + EncodeTemplateKeys(s);
    }
    std::memcpy(block.Reserved.data(), record.data(), record.size());
    block.Reserved[record.size()] = 0;
}

} // namespace pigmentaria

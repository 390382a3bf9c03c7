#include "convert/template_settings_store.h"

#include <string_view>

namespace pigmentaria {

namespace {

// The keys in the reserved bytes, or nothing when they hold none.
std::optional<std::string_view> StoredKeys(const TSettingsBlock& block) {
    return ReservedRecord(block, 0, TemplateSettingsBytes, TemplateSettingsTag);
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
    if (StoreReservedRecord(block, 0, TemplateSettingsBytes, TemplateSettingsTag,
                            EncodeTemplateKeys(s)))
        return;
    s.PaintsFile.clear();
    StoreReservedRecord(block, 0, TemplateSettingsBytes, TemplateSettingsTag,
                        EncodeTemplateKeys(s));
}

} // namespace pigmentaria

#include "convert/template_settings_store.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pigmentaria {
namespace {

TTemplateImportSettings Changed() {
    TTemplateImportSettings s;
    s.ColorMode = TColorMode::ByCount;
    s.PaletteSize = 16;
    s.MinWidthPixels = 12;
    s.MatchToPaints = true;
    s.PaintsFile = "Oils.KVL";
    return s;
}

TEST(TemplateSettingsStore, TheGroupTravelsInTheReservedBytesOfTheBlock) {
    TSettingsBlock block;
    block.Reserved[300] = 0xAB;
    SetTemplateImportSettings(block, Changed());
    const std::vector<std::uint8_t> bytes = EncodeSettings(block);
    ASSERT_EQ(bytes.size(), SettingsBlockSize);
    const TSettingsBlock back = DecodeSettings(bytes.data(), bytes.size());
    EXPECT_EQ(TemplateImportSettings(back), Changed());
    // The record ends with its NUL: reserved bytes beyond it stay as they were.
    EXPECT_EQ(back.Reserved[300], 0xAB);
    // Changing back to the defaults is stored too, not left at the old values.
    TSettingsBlock again = back;
    SetTemplateImportSettings(again, TTemplateImportSettings{});
    EXPECT_EQ(TemplateImportSettings(again), TTemplateImportSettings{});
}

TEST(TemplateSettingsStore, ABlockWithoutTheGroupReadsAsDefaultsAndKeepsEveryByte) {
    TSettingsBlock block;
    block.Reserved[0] = 0x11;
    block.Reserved[511] = 0x22;
    EXPECT_EQ(TemplateImportSettings(block), TTemplateImportSettings{});
    const auto before = EncodeSettings(block);
    SetTemplateImportSettings(block, TTemplateImportSettings{});
    EXPECT_EQ(EncodeSettings(block), before);
    // A tag without its NUL anywhere in the reserved bytes is not read.
    std::memset(block.Reserved.data(), 'x', block.Reserved.size());
    std::memcpy(block.Reserved.data(), TemplateSettingsTag, std::strlen(TemplateSettingsTag));
    EXPECT_EQ(TemplateImportSettings(block), TTemplateImportSettings{});
}

TEST(TemplateSettingsStore, APaintsFileTooLongForTheBytesIsStoredEmpty) {
    TSettingsBlock block;
    TTemplateImportSettings s = Changed();
    s.PaintsFile = std::string(600, 'p') + ".KVL";
    SetTemplateImportSettings(block, s);
    const TTemplateImportSettings back = TemplateImportSettings(block);
    EXPECT_EQ(back.PaintsFile, "");
    EXPECT_EQ(back.PaletteSize, 16);
    EXPECT_TRUE(back.MatchToPaints);
}

} // namespace
} // namespace pigmentaria

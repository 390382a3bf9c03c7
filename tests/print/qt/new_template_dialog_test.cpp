// The New Template dialog: the difficulty fills the fields, every control is named, and the
// preview of a small picture arrives and is what Create hands back.
#include "print/qt/new_template_dialog.h"

#include "app/qt/widget_test_util.h"
#include "image/image_test_util.h"
#include "test_util.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::WaitFor;
using test::WhenShown;

template <class Widget> Widget* Find(QWidget* dialog, const QString& name) {
    for (Widget* w : dialog->findChildren<Widget*>())
        if (w->accessibleName() == name) return w;
    return nullptr;
}

TEST(NewTemplateDialogTest, TheDifficultyFillsTheFieldsAndCustomKeepsThem) {
    TSettingsBlock settings;
    test::TRecordingMessages messages;
    TNewTemplateDialog dialog({settings, {}, PIGMENTARIA_DATA_SOURCE, messages, {}}, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "New Template");
    auto* difficulty = Find<QComboBox>(&dialog, "Difficulty");
    auto* paints = Find<QSpinBox>(&dialog, "Paints");
    auto* cell = Find<QDoubleSpinBox>(&dialog, "Smallest cell (mm)");
    auto* paper = Find<QComboBox>(&dialog, "Paper");
    auto* paintSet = Find<QComboBox>(&dialog, "Paint set");
    ASSERT_TRUE(difficulty && paints && cell && paper && paintSet);
    for (const char* name : {"Pages Across", "Pages Down"})
        EXPECT_TRUE(Find<QSpinBox>(&dialog, name)) << name;
    for (const char* name : {"Show Template", "Show Painting"})
        EXPECT_TRUE(Find<QRadioButton>(&dialog, name)) << name;
    for (const char* name : {"Create", "Cancel", "Help"})
        EXPECT_TRUE(Find<QPushButton>(&dialog, name)) << name;
    EXPECT_EQ(difficulty->currentText(), "Standard");
    EXPECT_EQ(paper->itemText(2), "A3");
    // The bundled palettes and tube sets are listed, "Other palette file..." last.
    EXPECT_EQ(paintSet->itemText(0), "Any colours");
    EXPECT_EQ(paintSet->itemText(paintSet->count() - 1), "Other palette file...");
    bool tubes = false;
    for (int i = 0; i < paintSet->count(); ++i)
        tubes |= paintSet->itemText(i).startsWith("Mix from tubes: ");
    EXPECT_TRUE(tubes);

    difficulty->setCurrentIndex(0);
    emit difficulty->activated(0);
    EXPECT_EQ(paints->value(), 12);
    EXPECT_DOUBLE_EQ(cell->value(), 5.0);
    paints->setValue(20);
    EXPECT_EQ(difficulty->currentText(), "Custom");
    difficulty->setCurrentIndex(2);
    emit difficulty->activated(2);
    EXPECT_EQ(paints->value(), 36);
    EXPECT_DOUBLE_EQ(cell->value(), 1.5);
    cell->setValue(1.8);
    difficulty->setCurrentIndex(3);
    emit difficulty->activated(3);
    EXPECT_EQ(paints->value(), 36);
    EXPECT_DOUBLE_EQ(cell->value(), 1.8);
    EXPECT_EQ(dialog.Settings().Difficulty, TTemplateDifficulty::Custom);
}

TEST(NewTemplateDialogTest, ThePreviewArrivesAndCreateHandsItBack) {
    TSettingsBlock settings;
    test::TRecordingMessages messages;
    TNewTemplateDialog dialog({settings, {}, {}, messages, {}}, nullptr);
    auto picture = std::make_shared<const TPixelGraphic>(test::PhotoLike(160, 120));
    bool previewed = false, createdEarly = true;
    QString canvas, legibility;
    WhenShown(&dialog, [&] {
        auto* create = Find<QPushButton>(&dialog, "Create");
        createdEarly = create->isEnabled();
        auto* paints = Find<QSpinBox>(&dialog, "Paints");
        paints->setValue(8);
        previewed = WaitFor([&] { return create->isEnabled(); }, 30000);
        for (QLabel* l : dialog.findChildren<QLabel*>()) {
            if (l->text().startsWith("Canvas size: ")) canvas = l->accessibleName();
            if (l->text().contains(" paints; ")) legibility = l->accessibleName();
        }
        Find<QRadioButton>(&dialog, "Show Painting")->click();
        create->click();
    });
    const std::optional<TTemplateResult> t = dialog.Execute(picture);
    EXPECT_FALSE(createdEarly);
    ASSERT_TRUE(previewed);
    ASSERT_TRUE(t);
    EXPECT_TRUE(canvas.startsWith("Canvas size: ")) << canvas.toStdString();
    EXPECT_TRUE(legibility.contains(" paints; ")) << legibility.toStdString();
    EXPECT_LE(t->Shares.size(), 8u);
    EXPECT_EQ(t->Original.Width(), 160);
    // The choices are kept.
    EXPECT_EQ(NewTemplateSettings(settings).Paints, 8);
    EXPECT_EQ(NewTemplateSettings(settings).Difficulty, TTemplateDifficulty::Custom);
    EXPECT_TRUE(messages.Errors.empty());

    // Cancel gives nothing and keeps the settings as they were.
    WhenShown(&dialog, [&] {
        Find<QSpinBox>(&dialog, "Paints")->setValue(30);
        Find<QPushButton>(&dialog, "Cancel")->click();
    });
    EXPECT_FALSE(dialog.Execute(picture));
    EXPECT_EQ(NewTemplateSettings(settings).Paints, 8);
}

} // namespace
} // namespace pigmentaria

// A photo taken the whole way through the desktop program's import: chosen in the picture
// dialog, loaded into the import dialog, given a style and controls, imported; the painting is
// the one the command line makes of the same photo with the same controls, byte for byte.
#include "app/qt/widget_test_util.h"
#include "convert/qt/modify_form.h"
#include "editor/document.h"
#include "image/qt/pg_dialogs.h"
#include "platform/qt/progress_form.h"
#include "test_util.h"

#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace pigmentaria {
namespace {

const QString Samples = PIGMENTARIA_SAMPLES;

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QString ChooseThroughTheDialog(const QString& file, TOpenPreviewForm& beside, bool& previewed) {
    TPGOpenDialog dialog;
    dialog.SetPreviewWindow(&beside);
    beside.ShowBeside();
    QTimer poll;
    bool selected = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!dialog.isVisible()) return;
        if (!selected) {
            dialog.selectFile(file);
            dialog.SelectionChanged(file);
            selected = true;
            return;
        }
        // The user waits for the preview before choosing.
        if (!dialog.PreviewBox()->Image().isNull() && beside.ImageShown()) {
            previewed = true;
            poll.stop();
            // Closed as "Open" closes it (the toolkit dialog's own accept waits for a listing
            // the offscreen platform does not finish).
            dialog.QDialog::accept();
        }
    });
    poll.start(10);
    dialog.Execute(Samples);
    beside.hide();
    // The file whose preview and information the dialog showed.
    return dialog.SettledFile();
}

struct TStep {
    TPaintingStyle Style;
    int Specks;
    std::vector<std::string> CliOptions;
};

TEST(ImportEndToEndTest, APhotoThroughTheDialogsBecomesThePaintingTheCommandLineMakes) {
    const TStep steps[] = {
        {TPaintingStyle::StylistPainting, 2, {"--style", "Stylist Painting", "--specks", "2"}},
        {TPaintingStyle::PenInk, 0, {"--style", "Pen && Ink"}},
    };
    test::TTempDir dir;
    for (const TStep& step : steps) {
        test::TTestCore core;
        test::TScriptedDialogs& messages = core.Dialogs;
        TPaintingDocument& document = core.Core.Document;
        TModifyForm form(ImportContext(core.Context()));

        TOpenPreviewForm beside;
        bool previewed = false;
        const QString file = ChooseThroughTheDialog(Samples + "/rocket.jpg", beside, previewed);
        ASSERT_EQ(file, Samples + "/rocket.jpg");
        EXPECT_TRUE(previewed);
        EXPECT_EQ(beside.DimensionsText()->text(), "640 x 427");

        ASSERT_TRUE(form.LoadFile(file));
        form.StyleAction(step.Style)->trigger();
        form.SimplificationLevel()->setValue(step.Specks);
        form.ImportButton()->click();
        ASSERT_TRUE(form.Imported());
        ASSERT_TRUE(document.HasPainting());
        const auto ours = dir.Path() / "window.kvp";
        ASSERT_TRUE(document.SavePainting(ours, ""));

        const auto theirs = dir.Path() / "cli.kvp";
        std::string command = std::string(PIGMENTARIA_CLI) + " convert '" + file.toStdString() +
                              "' -o '" + theirs.string() + "'";
        for (const std::string& o : step.CliOptions)
            command += " '" + o + "'";
        command += " >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(Bytes(ours), Bytes(theirs)) << StyleCaption(step.Style);
        EXPECT_GT(document.Shapes().Count(), 10u);
        EXPECT_TRUE(messages.Errors.empty());
    }
}

} // namespace
} // namespace pigmentaria

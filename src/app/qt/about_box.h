#pragma once
// TAboutBox, "About Pigmentaria": the product, its version, the acknowledgement, and one line
// about the painting and the memory in use, recomputed each time the box is shown.
#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace pigmentaria {

inline constexpr const char* VersionText = "Version 1.01a";
inline constexpr const char* JpegAcknowledgement =
    "This software is based in part on the work of the Independent JPEG Group";

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    // Where the comments line comes from.
    void SetCommentsSource(std::function<std::string()> source) { Source_ = std::move(source); }
    QLabel* Comments() const { return Comments_; }
    QPushButton* OkButton() const { return Ok_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<std::string()> Source_;
    QLabel* Comments_;
    QPushButton* Ok_;
};

} // namespace pigmentaria

#pragma once

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zanthe {

class SkinMessage;

// The Add Keywords dialog: one typed keyword, or the name of a keyword list
// file, never both. Closes with ResultOk when its input is usable.
class TfrmAddKeywords final : public QDialog {
    Q_OBJECT
public:
    static constexpr int ResultOk = 1;
    static constexpr int ResultCancel = 2;

    // Messages go through the main window's message box.
    explicit TfrmAddKeywords(SkinMessage* messages, QWidget* parent = nullptr);

    QLabel* bsSkinStdLabel1 = nullptr;
    QLineEdit* edtAddKeyword = nullptr;
    QLabel* bsSkinStdLabel2 = nullptr;
    QLineEdit* edtList = nullptr;
    QPushButton* btnBrowse = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

public slots:
    void btnOkClick();
    void btnBrowseClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool edtAddKeywordKeyDown(QKeyEvent* key);
    bool edtListKeyDown(QKeyEvent* key);

    SkinMessage* m_messages;
};

} // namespace zanthe

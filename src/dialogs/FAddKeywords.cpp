#include "FAddKeywords.h"

#include "DialogParts.h"
#include "FileChooser.h"
#include "app/MessageBox.h"
#include "table/KeywordFile.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zanthe {

using namespace dialogparts;

TfrmAddKeywords::TfrmAddKeywords(SkinMessage* messages, QWidget* parent)
    : QDialog(parent, DialogFlags)
    , m_messages(messages)
{
    setObjectName("frmAddKeywords");
    setWindowTitle("Enter Keyword(s)");
    setFixedSize(426, 147);

    bsSkinStdLabel1 =
        label(this, "bsSkinStdLabel1", "Please type keyword(s) Eg: golf, soccer:", 9, 13, 239);
    edtAddKeyword = edit(this, "edtAddKeyword", 9, 33, 326, 15);
    bsSkinStdLabel2 =
        label(this, "bsSkinStdLabel2",
              "Or add a file with a keyword list (one group of keywords per line):", 9, 59, 378);
    edtList = edit(this, "edtList", 9, 78, 326, 15);
    btnBrowse = button(this, "btnBrowse", "Browse", 344, 77, 63, 21);
    btnOk = button(this, "btnOk", "Ok", 102, 107, 82, 21);
    btnCancel = button(this, "btnCancel", "Cancel", 190, 107, 82, 21);
    setTabOrder(edtAddKeyword, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, edtList);
    setTabOrder(edtList, btnBrowse);
    edtAddKeyword->setFocus();

    edtAddKeyword->installEventFilter(this);
    edtList->installEventFilter(this);
    connect(btnOk, &QPushButton::clicked, this, &TfrmAddKeywords::btnOkClick);
    connect(btnBrowse, &QPushButton::clicked, this, &TfrmAddKeywords::btnBrowseClick);
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(ResultCancel); });

    centreOnScreen(this);
}

void TfrmAddKeywords::btnOkClick()
{
    const bool keywordTyped = !edtAddKeyword->text().isEmpty();
    const bool fileNamed = !edtList->text().isEmpty();
    if (keywordTyped && fileNamed) {
        m_messages->MessageDlg(QByteArray("Please select only one way to add keywords."),
                               SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    if (fileNamed && !keywordFileExists(edtList->text())) {
        m_messages->MessageDlg(QByteArray("Please select a valid file."),
                               SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    // Both boxes empty closes too; the opener then adds nothing.
    done(ResultOk);
}

void TfrmAddKeywords::btnBrowseClick()
{
    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.title = "Open file";
    request.filter = "Text files (*.txt)";
    const QString chosen = chooseFile(this, request);
    if (!chosen.isEmpty())
        edtList->setText(chosen);
}

bool TfrmAddKeywords::edtAddKeywordKeyDown(QKeyEvent* key)
{
    if (!isEnter(key))
        return false;
    btnOkClick();
    return true;
}

bool TfrmAddKeywords::edtListKeyDown(QKeyEvent* key)
{
    if (!isEnter(key))
        return false;
    btnOkClick();
    return true;
}

bool TfrmAddKeywords::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == edtAddKeyword)
            return edtAddKeywordKeyDown(key);
        if (watched == edtList)
            return edtListKeyDown(key);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zanthe

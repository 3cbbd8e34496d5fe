#include "FSelectSearch.h"

#include "DialogParts.h"

#include <QCheckBox>
#include <QPushButton>

namespace zanthe {

namespace {

QCheckBox* makeBox(QWidget* parent, const char* name, const char* caption, int top, int width,
                   bool ticked)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    // The caption must show whole whatever the font.
    box->setGeometry(11, top, qMax(width, box->sizeHint().width()), 20);
    box->setChecked(ticked);
    return box;
}

} // namespace

TfrmSelSearch::TfrmSelSearch(QWidget* parent)
    : QDialog(parent, dialogparts::DialogFlags)
{
    setObjectName("frmSelSearch");
    setWindowTitle("Select Search Type");

    bsSkinCheckRadioBox1 =
        makeBox(this, "bsSkinCheckRadioBox1",
                "Precise Search Eg: \"golf clubs\" Should appear the word in the same order.", 15,
                397, true);
    bsSkinCheckRadioBox2 = makeBox(
        this, "bsSkinCheckRadioBox2",
        "Broad Search Eg: golf clubs, any word no matther the order or position in the text.", 41,
        446, false);
    // 480 wide, or wider where the font makes a caption longer.
    const int width = qMax(480, qMax(bsSkinCheckRadioBox1->geometry().right(),
                                     bsSkinCheckRadioBox2->geometry().right()) +
                                    1 + 11);
    setFixedSize(width, 114);
    btnOk = dialogparts::button(this, "btnOk", "Ok", 161, 75, 81, 21);
    btnCancel = dialogparts::button(this, "btnCancel", "Cancel", 251, 75, 82, 21);
    btnOk->setDefault(true);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Centred on the screen, not over the owner.
    dialogparts::centreOnScreen(this);
}

} // namespace zanthe

#include "ModalScript.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "app/ModalSeam.h"
#include "dialogs/FAddKeywords.h"
#include "dialogs/FMainKeyword.h"
#include "dialogs/FileChooser.h"

#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zanthe;
using namespace zanthe::test;

namespace {

enum class Finish { EnterInFirstBox, EnterInSecondBox, ClickOk };

void finish(Finish how, QLineEdit* first, QLineEdit* second, QPushButton* ok)
{
    switch (how) {
    case Finish::EnterInFirstBox:
        QTest::keyClick(first, Qt::Key_Return);
        break;
    case Finish::EnterInSecondBox:
        QTest::keyClick(second, Qt::Key_Enter); // the keypad key works the same
        break;
    case Finish::ClickOk:
        QTest::mouseClick(ok, Qt::LeftButton);
        break;
    }
}

// The widgets reached from `first` by pressing Tab, by object name.
QStringList tabChain(QWidget* first, int count)
{
    QStringList names;
    QWidget* w = first;
    for (int i = 0; i < count; ++i) {
        names << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    return names;
}

} // namespace

Q_DECLARE_METATYPE(Finish)

class TestKeywordDialogs final : public QObject {
    Q_OBJECT
    QWidget m_owner; // stands in for the main window that owns msgMain
    SkinMessage* m_messages = new SkinMessage(&m_owner);
    QTemporaryDir m_dir;
    QString m_listFile;

private slots:
    void initTestCase()
    {
        m_listFile = m_dir.filePath("keywords.txt");
        QFile f(m_listFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("golf\r\n");
    }

    void cleanup() { setFileChooserHook({}); }

    void mainKeywordLayout()
    {
        TfrmMainKeyword d(m_messages);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.objectName(), QString("frmMainKeyword"));
        QCOMPARE(d.windowTitle(), QString("Main Keyword"));
        QCOMPARE(d.size(), QSize(309, 109));
        QVERIFY(
            !(d.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));
        QCOMPARE(d.bsSkinStdLabel1->text(),
                 QString("Please type the main keyword(s) Eg: golf, soccer:"));
        QCOMPARE(d.bsSkinStdLabel1->pos(), QPoint(13, 13));
        QCOMPARE(d.bsSkinStdLabel1->width(), 292);
        QCOMPARE(d.edtMainKeyword->geometry(), QRect(13, 37, 280, 15));
        QCOMPARE(d.edtMainKeyword->text(), QString());
        QCOMPARE(d.btnOk->geometry(), QRect(68, 67, 82, 21));
        QCOMPARE(d.btnOk->text(), QString("Ok"));
        QCOMPARE(d.btnCancel->geometry(), QRect(157, 67, 82, 21));
        QCOMPARE(d.btnCancel->text(), QString("Cancel"));
        QCOMPARE(d.focusWidget(), d.edtMainKeyword);
        QCOMPARE(tabChain(d.edtMainKeyword, 4),
                 QStringList({"edtMainKeyword", "btnOk", "btnCancel", "edtMainKeyword"}));
    }

    void mainKeyword_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Finish>("how");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList missing{"Please add a Main Keyword."};
        QTest::newRow("typed, Enter") << "golf clubs" << Finish::EnterInFirstBox << 1 << none;
        QTest::newRow("typed, Ok") << "golf clubs" << Finish::ClickOk << 1 << none;
        QTest::newRow("one space is enough") << " " << Finish::EnterInFirstBox << 1 << none;
        QTest::newRow("empty, Enter") << "" << Finish::EnterInFirstBox << 0 << missing;
        QTest::newRow("empty, Ok") << "" << Finish::ClickOk << 0 << missing;
    }

    void mainKeyword()
    {
        QFETCH(QString, typed);
        QFETCH(Finish, how);
        QFETCH(int, result);
        QFETCH(QStringList, messages);
        TfrmMainKeyword d(m_messages);
        bool stayedOpen = false;
        ModalScript script({[&](QDialog*) {
            QTest::keyClicks(d.edtMainKeyword, typed);
            finish(how, d.edtMainKeyword, nullptr, d.btnOk);
            stayedOpen = d.isVisible();
        }});
        QCOMPARE(execModal(&d), result);
        QCOMPARE(script.messages, messages);
        QCOMPARE(stayedOpen, result != 1);
        QCOMPARE(d.edtMainKeyword->text(), typed);
    }

    void mainKeywordCancel()
    {
        TfrmMainKeyword d(m_messages);
        ModalScript script({[&](QDialog*) {
            QTest::keyClicks(d.edtMainKeyword, "golf");
            QTest::mouseClick(d.btnCancel, Qt::LeftButton);
        }});
        QCOMPARE(execModal(&d), TfrmMainKeyword::ResultCancel);
        QVERIFY(script.messages.isEmpty());
    }

    void addKeywordsLayout()
    {
        TfrmAddKeywords d(m_messages);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.objectName(), QString("frmAddKeywords"));
        QCOMPARE(d.windowTitle(), QString("Enter Keyword(s)"));
        QCOMPARE(d.size(), QSize(426, 147));
        QVERIFY(
            !(d.windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint)));
        QCOMPARE(d.bsSkinStdLabel1->text(), QString("Please type keyword(s) Eg: golf, soccer:"));
        QCOMPARE(d.bsSkinStdLabel1->pos(), QPoint(9, 13));
        QCOMPARE(d.bsSkinStdLabel1->width(), 239);
        QCOMPARE(d.bsSkinStdLabel2->text(),
                 QString("Or add a file with a keyword list (one group of keywords per line):"));
        QCOMPARE(d.bsSkinStdLabel2->pos(), QPoint(9, 59));
        QCOMPARE(d.bsSkinStdLabel2->width(), 378);
        QCOMPARE(d.edtAddKeyword->geometry(), QRect(9, 33, 326, 15));
        QCOMPARE(d.edtList->geometry(), QRect(9, 78, 326, 15));
        QCOMPARE(d.btnBrowse->geometry(), QRect(344, 77, 63, 21));
        QCOMPARE(d.btnBrowse->text(), QString("Browse"));
        QCOMPARE(d.btnOk->geometry(), QRect(102, 107, 82, 21));
        QCOMPARE(d.btnOk->text(), QString("Ok"));
        QCOMPARE(d.btnCancel->geometry(), QRect(190, 107, 82, 21));
        QCOMPARE(d.btnCancel->text(), QString("Cancel"));
        QVERIFY(d.edtAddKeyword->text().isEmpty() && d.edtList->text().isEmpty());
        QCOMPARE(d.focusWidget(), d.edtAddKeyword);
        QCOMPARE(tabChain(d.edtAddKeyword, 6),
                 QStringList({"edtAddKeyword", "btnOk", "btnCancel", "edtList", "btnBrowse",
                              "edtAddKeyword"}));
    }

    void addKeywords_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("list"); // "<file>", "<folder>" or "<missing>" stand for paths
        QTest::addColumn<Finish>("how");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QStringList both{"Please select only one way to add keywords."};
        const QStringList invalid{"Please select a valid file."};
        QTest::newRow("keyword, Enter") << "golf, soccer"
                                        << "" << Finish::EnterInFirstBox << none;
        QTest::newRow("keyword, Ok") << "golf"
                                     << "" << Finish::ClickOk << none;
        QTest::newRow("file, Enter") << ""
                                     << "<file>" << Finish::EnterInSecondBox << none;
        QTest::newRow("file, Ok") << ""
                                  << "<file>" << Finish::ClickOk << none;
        QTest::newRow("both empty") << ""
                                    << "" << Finish::ClickOk << none;
        QTest::newRow("both, file exists") << "golf"
                                           << "<file>" << Finish::ClickOk << both;
        QTest::newRow("both, no such file") << "golf"
                                            << "<missing>" << Finish::EnterInSecondBox << both;
        QTest::newRow("no such file") << ""
                                      << "<missing>" << Finish::ClickOk << invalid;
        QTest::newRow("folder is no file") << ""
                                           << "<folder>" << Finish::EnterInSecondBox << invalid;
        QTest::newRow("Enter in keyword box checks the file box")
            << ""
            << "<missing>" << Finish::EnterInFirstBox << invalid;
    }

    void addKeywords()
    {
        QFETCH(QString, keyword);
        QFETCH(QString, list);
        QFETCH(Finish, how);
        QFETCH(QStringList, messages);
        list.replace("<file>", m_listFile)
            .replace("<folder>", m_dir.path())
            .replace("<missing>", m_dir.filePath("missing.txt"));
        TfrmAddKeywords d(m_messages);
        bool stayedOpen = false;
        ModalScript script({[&](QDialog*) {
            QTest::keyClicks(d.edtAddKeyword, keyword);
            QTest::keyClicks(d.edtList, list);
            finish(how, d.edtAddKeyword, d.edtList, d.btnOk);
            stayedOpen = d.isVisible();
        }});
        const int result = execModal(&d);
        QCOMPARE(script.messages, messages);
        QCOMPARE(stayedOpen, !messages.isEmpty());
        QCOMPARE(result, messages.isEmpty() ? TfrmAddKeywords::ResultOk : 0);
        // Nothing in the boxes is changed by the checks.
        QCOMPARE(d.edtAddKeyword->text(), keyword);
        QCOMPARE(d.edtList->text(), list);
    }

    void browse()
    {
        QList<FileRequest> requests;
        QString answer = m_listFile;
        setFileChooserHook([&](const FileRequest& r) {
            requests << r;
            return answer;
        });
        TfrmAddKeywords d(m_messages);
        QTest::mouseClick(d.btnBrowse, Qt::LeftButton);
        QCOMPARE(d.edtList->text(), m_listFile);
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].mode, FileRequest::Mode::Open);
        QCOMPARE(requests[0].title, QString("Open file"));
        QCOMPARE(requests[0].filter, QString("Text files (*.txt)"));

        answer.clear(); // cancelled: the box keeps its text
        QTest::mouseClick(d.btnBrowse, Qt::LeftButton);
        QCOMPARE(d.edtList->text(), m_listFile);
        QVERIFY(d.isHidden()); // no check before "Ok"
    }

    void realOpenChooser()
    {
        QString title;
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        ModalScript script({[&](QDialog* d) {
            auto* chooser = qobject_cast<QFileDialog*>(d);
            QVERIFY(chooser);
            title = chooser->windowTitle();
            filters = chooser->nameFilters();
            mode = chooser->fileMode();
            chooser->selectFile(m_listFile);
            d->accept(); // QFileDialog::accept, through the public base
        }});
        TfrmAddKeywords d(m_messages);
        d.btnBrowseClick();
        QCOMPARE(title, QString("Open file"));
        QCOMPARE(filters, QStringList{"Text files (*.txt)"});
        QCOMPARE(mode, QFileDialog::ExistingFile); // one existing file only
        QCOMPARE(d.edtList->text(), QDir::toNativeSeparators(m_listFile));
    }

    void realSaveChooser()
    {
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        bool asksBeforeReplacing = true;
        QStringList preselected;
        const QString target = m_dir.filePath("new results.txt");
        ModalScript script({[&](QDialog* d) {
            auto* chooser = qobject_cast<QFileDialog*>(d);
            QVERIFY(chooser);
            mode = chooser->acceptMode();
            asksBeforeReplacing = !chooser->testOption(QFileDialog::DontConfirmOverwrite);
            preselected = chooser->selectedFiles();
            chooser->selectFile(target);
            d->accept(); // QFileDialog::accept, through the public base
        }});
        FileRequest request;
        request.mode = FileRequest::Mode::Save;
        request.title = "Save file";
        request.filter = "CSV files (*.csv)";
        request.directory = m_dir.path();
        request.fileName = "last.csv";
        // The name comes back as typed: the extension rule is the caller's.
        QCOMPARE(chooseFile(nullptr, request), QDir::toNativeSeparators(target));
        QCOMPARE(mode, QFileDialog::AcceptSave);
        QVERIFY(!asksBeforeReplacing);
        QCOMPARE(preselected, QStringList{m_dir.filePath("last.csv")});
    }
};

ZANTHE_TEST(TestKeywordDialogs)
#include "tst_keyworddialogs.moc"

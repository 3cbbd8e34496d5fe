// Keyword entry, list import, column sorting and export handlers.
#include "FMain.h"

#include "MessageBox.h"
#include "ModalSeam.h"
#include "dialogs/FAddKeywords.h"
#include "dialogs/FMainKeyword.h"
#include "dialogs/FileChooser.h"
#include "outside/ProgramFolder.h"
#include "table/ByteText.h"
#include "table/CsvExport.h"
#include "table/KeywordFile.h"
#include "table/KeywordTableModel.h"
#include "table/Sorting.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>

namespace zanthe {

void TfrmMain::btnMainKeywordClick()
{
    TfrmMainKeyword dialog(msgMain, this);
    if (execModal(&dialog) != TfrmMainKeyword::ResultOk)
        return;
    MainKeyword = fromUser(dialog.edtMainKeyword->text());
    bsSkinStatusPanel1->setText(toDisplay("Main Keyword: " + MainKeyword));
    setMainStatus({});
}

void TfrmMain::btnAddKeywordClick()
{
    TfrmAddKeywords dialog(msgMain, this);
    if (execModal(&dialog) != TfrmAddKeywords::ResultOk)
        return;
    const QString keyword = dialog.edtAddKeyword->text();
    if (keyword.isEmpty()) {
        LoadKeywordFile(QFile::encodeName(dialog.edtList->text()));
        return;
    }
    items->appendRow(QByteArray::number(items->count() + 1), {fromUser(keyword), {}, {}, {}, {}});
    setItemCountText(itemsListedText(items->count()));
}

void TfrmMain::LoadKeywordFile(const QByteArray& fileName)
{
    const QString path = QFile::decodeName(fileName);
    if (!keywordFileExists(path))
        return;
    // Read first: a file that cannot be read must not cost the table.
    const KeywordFileRead read = readKeywordFile(path);
    if (!read.ok) {
        msgMain->MessageDlg(
            QString("The keyword list %1 could not be read: %2").arg(path, read.error),
            SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    // Numbers go on from the old row count although the old rows go.
    const int oldCount = items->count();
    items->clear();
    items->appendRows(keywordRowsFromLines(read.lines, oldCount + 1));
    setItemCountText(totalText(items->count()));
}

void TfrmMain::btnSaveResultsClick()
{
    ExportResults();
}

void TfrmMain::ExportResults()
{
    if (items->count() == 0) {
        msgMain->MessageDlg(QByteArray("You don't have any data to save."),
                            SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
        return;
    }
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = "Save file";
    request.filter = "CSV files (*.csv)";
    if (m_lastExportPath.isEmpty()) {
        request.directory = programFolder();
    } else {
        const QFileInfo last(m_lastExportPath);
        request.directory = last.absolutePath();
        request.fileName = last.fileName();
    }
    const QString chosen = chooseFile(this, request);
    if (chosen.isEmpty())
        return;
    const QString path = withCsvExtension(chosen);
    m_lastExportPath = path;

    const CsvWriteResult saved = saveCsvFile(path, *items);
    if (!saved.ok)
        msgMain->MessageDlg(QString("The file %1 could not be saved: %2").arg(path, saved.error),
                            SkinMessage::Kind::Information, SkinMessage::Buttons::Ok);
}

void TfrmMain::lvwItemsColumnClick(int column)
{
    // While a run holds the table the header raises no clicks.
    if (!lvwItems->horizontalHeader()->sectionsClickable())
        return;
    if (column == SortColumn)
        SortAscending = !SortAscending;
    else
        SortColumn = column;
    sortTable(*items, column, SortAscending);
}

} // namespace zanthe

#include "FileChooser.h"

#include "app/ModalSeam.h"

#include <QDir>
#include <QFileDialog>

namespace zanthe {

namespace {
FileChooserHook& hook()
{
    static FileChooserHook h;
    return h;
}
} // namespace

void setFileChooserHook(FileChooserHook h)
{
    hook() = std::move(h);
}

QString chooseFile(QWidget* parent, const FileRequest& request)
{
    if (hook())
        return hook()(request);

    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setObjectName(request.mode == FileRequest::Mode::Open ? "bsSkinOpenDialog1"
                                                                 : "bsSkinSaveDialog1");
    if (request.mode == FileRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!request.fileName.isEmpty())
            dialog.selectFile(QDir(request.directory).filePath(request.fileName));
    }
    if (execModal(&dialog) != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

} // namespace zanthe

#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zanthe {

// What the program asks of an open or save file chooser.
struct FileRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString filter;    // one entry, e.g. "Text files (*.txt)"
    QString directory; // folder to open in; empty: the chooser's own choice
    QString fileName;  // name filled in (save)
};

// The chosen file's full name, or an empty text when the user cancelled.
// Open: only an existing file can be chosen. Save: any name, no question
// before an existing file is replaced.
QString chooseFile(QWidget* parent, const FileRequest& request);

// Tests answer the choosers through this hook; an empty hook restores the
// real chooser.
using FileChooserHook = std::function<QString(const FileRequest&)>;
void setFileChooserHook(FileChooserHook hook);

} // namespace zanthe

#pragma once

#include <functional>

class QDialog;

namespace zanthe {

// Every modal dialog of the program is run through execModal(). In normal use
// it is QDialog::exec(). A test installs a hook that is called with each
// dialog once it is shown, inside its modal loop, so the test can fill in and
// click the real widgets and answer it.
using ModalHook = std::function<void(QDialog*)>;

int execModal(QDialog* dialog);
void setModalHook(ModalHook hook);

} // namespace zanthe

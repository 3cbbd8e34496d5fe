#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class QDialog;

namespace zanthe {
class TfrmMain;
}

// A whole demo session driven through the main window's real widgets, shared
// by the end-to-end test and the screenshot tool. Test and demo code only:
// the program itself knows nothing of it.
namespace zanthe::demo {

// The demo service as a child process on a free port of 127.0.0.1, stopped
// when this object goes.
class ServiceProcess final {
public:
    ServiceProcess() = default;
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Starts `program --port 0` plus `extraArguments` and waits for the line
    // that names its address. False, with error(), when it does not come.
    bool start(const QString& program, const QStringList& extraArguments = {});
    void stop();

    // "http://127.0.0.1:PORT", empty before a successful start.
    QByteArray baseUrl() const { return m_baseUrl; }
    QString error() const { return m_error; }

private:
    QProcess m_process;
    QByteArray m_baseUrl;
    QString m_error;
};

// Sets the four service variables so that a main window created afterwards
// asks the demo service at `serviceBase` for everything.
void pointProgramAt(const QByteArray& serviceBase);
// Removes them again.
void forgetServiceVariables();

// Drives one main window the way a user would: every step clicks the real
// button and answers the real dialogs that it opens (through the modal seam
// and the file chooser seam, both held for as long as this object lives).
// The security image is answered with the X-Demo-Answer header that a service
// started with --reveal-answers sends along with the image. The window must
// be shown, so that its table header can be clicked.
class DemoSession final : public QObject {
    Q_OBJECT
public:
    explicit DemoSession(TfrmMain& window);
    ~DemoSession() override;

    // Each step returns false, with error(), when it did not get through.
    bool setMainKeyword(const QByteArray& seed);
    bool gatherKeywords();
    // stopAtPage 0 lets the run finish; n clicks "Stop" while the nth result
    // page of the run arrives, so n - 1 counts have been stored by then.
    bool gatherData(bool broadSearch, int stopAtPage = 0);
    // Clicks the Google header until it sorts descending.
    bool sortByGoogleDescending();
    // "Save Results", naming `path` in the save chooser (the program adds
    // ".csv" to a name that does not end in it).
    bool saveResults(const QString& path);

    // All steps in order, up to the first one that fails.
    bool run(const QByteArray& seed, bool broadSearch, const QString& savePath);

    QString error() const { return m_error; }
    // Texts of the message boxes that came up (each answered with OK).
    QStringList messages() const { return m_messages; }
    int challengesAnswered() const { return m_challengesAnswered; }
    // Result pages that arrived during the last gatherData().
    int pagesArrived() const { return m_pagesArrived; }

private:
    void answer(QDialog* dialog);
    void answerChallenge(QDialog* dialog);
    bool fail(const QString& why);

    TfrmMain& m_window;
    QByteArray m_seed;
    bool m_broadSearch = false;
    QString m_error;
    QStringList m_messages;
    int m_challengesAnswered = 0;
    int m_pagesArrived = 0;
};

} // namespace zanthe::demo

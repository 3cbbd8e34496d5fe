#include "DemoSession.h"

#include "app/FMain.h"
#include "app/ModalSeam.h"
#include "dialogs/FCaptcha.h"
#include "dialogs/FMainKeyword.h"
#include "dialogs/FSelectSearch.h"
#include "dialogs/FileChooser.h"
#include "dialogs/ImageView.h"
#include "table/CsvExport.h"
#include "table/KeywordTableModel.h"
#include "web/PageFetcher.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>

namespace zanthe::demo {

namespace {

constexpr int WaitMs = 10000;

const char* const ServiceVariables[] = {"ZANTHE_SUGGEST_URL", "ZANTHE_GOOGLE_URL",
                                        "ZANTHE_YAHOO_URL", "ZANTHE_MSN_URL"};
const char* const ServicePaths[] = {"/suggest", "/google", "/yahoo", "/msn"};

// The answer the service sends along with the challenge image, or an empty
// text (with the reason in `why`).
QByteArray revealedAnswer(const QUrl& imageUrl, QString& why)
{
    if (!imageUrl.isValid() || imageUrl.isEmpty()) {
        why = QStringLiteral("the security image has no address");
        return {};
    }
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(imageUrl);
    request.setTransferTimeout(WaitMs);
    QNetworkReply* reply = manager.get(request);
    QEventLoop wait;
    QObject::connect(reply, &QNetworkReply::finished, &wait, &QEventLoop::quit);
    if (!reply->isFinished())
        wait.exec();
    const QByteArray answer = reply->rawHeader("X-Demo-Answer");
    if (reply->error() != QNetworkReply::NoError)
        why = QStringLiteral("the security image could not be fetched: ") + reply->errorString();
    else if (answer.isEmpty())
        why = QStringLiteral("the service revealed no answer (start it with --reveal-answers)");
    delete reply;
    return answer;
}

// A left click on one section of a header, as the mouse sends it.
bool clickHeaderSection(QHeaderView* header, int section)
{
    QWidget* viewport = header->viewport();
    const int left = header->sectionViewportPosition(section);
    const int width = header->sectionSize(section);
    if (left < 0 || width <= 0 || left + width / 2 >= viewport->width())
        return false;
    const QPointF local(left + width / 2, viewport->height() / 2);
    const QPointF global = viewport->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
    return true;
}

} // namespace

// --- ServiceProcess --------------------------------------------------------

ServiceProcess::~ServiceProcess()
{
    stop();
}

bool ServiceProcess::start(const QString& program, const QStringList& extraArguments)
{
    stop();
    m_error.clear();
    m_process.start(program,
                    QStringList{QStringLiteral("--port"), QStringLiteral("0")} + extraArguments);
    if (!m_process.waitForStarted(WaitMs)) {
        m_error = program + QStringLiteral(": ") + m_process.errorString();
        return false;
    }
    static const QRegularExpression address(
        QStringLiteral("listening on (http://127\\.0\\.0\\.1:\\d+)\\n"));
    QByteArray out;
    const QDeadlineTimer deadline(WaitMs);
    while (!deadline.hasExpired()) {
        const auto match = address.match(QString::fromLatin1(out));
        if (match.hasMatch()) {
            m_baseUrl = match.captured(1).toLatin1();
            return true;
        }
        if (m_process.state() != QProcess::Running ||
            !m_process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        out += m_process.readAllStandardOutput();
    }
    m_error = QStringLiteral("The demo service named no address. ") +
              QString::fromLocal8Bit(out + m_process.readAllStandardError());
    stop();
    return false;
}

void ServiceProcess::stop()
{
    m_baseUrl.clear();
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void pointProgramAt(const QByteArray& serviceBase)
{
    for (int i = 0; i < 4; ++i)
        qputenv(ServiceVariables[i], serviceBase + ServicePaths[i]);
}

void forgetServiceVariables()
{
    for (const char* variable : ServiceVariables)
        qunsetenv(variable);
}

// --- DemoSession -----------------------------------------------------------

DemoSession::DemoSession(TfrmMain& window)
    : m_window(window)
{
    setModalHook([this](QDialog* dialog) { answer(dialog); });
}

DemoSession::~DemoSession()
{
    setModalHook({});
    setFileChooserHook({});
}

bool DemoSession::fail(const QString& why)
{
    if (m_error.isEmpty())
        m_error = why;
    return false;
}

void DemoSession::answer(QDialog* dialog)
{
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        m_messages << box->text();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
    } else if (auto* keyword = qobject_cast<TfrmMainKeyword*>(dialog)) {
        keyword->edtMainKeyword->setText(QString::fromUtf8(m_seed));
        keyword->btnOk->click();
    } else if (auto* search = qobject_cast<TfrmSelSearch*>(dialog)) {
        search->bsSkinCheckRadioBox1->setChecked(!m_broadSearch);
        search->bsSkinCheckRadioBox2->setChecked(m_broadSearch);
        search->btnOk->click();
    } else if (qobject_cast<TfrmCaptcha*>(dialog)) {
        answerChallenge(dialog);
    } else {
        fail(QStringLiteral("Unexpected dialog ") + dialog->objectName());
    }
    // Whatever went wrong, the session must not wait on an open dialog.
    if (dialog->isVisible()) {
        fail(QStringLiteral("The dialog %1 stayed open").arg(dialog->windowTitle()));
        dialog->reject();
    }
}

void DemoSession::answerChallenge(QDialog* dialog)
{
    auto* captcha = static_cast<TfrmCaptcha*>(dialog);
    // The address the dialog's image view shows, fetched once more for the
    // header that carries the answer.
    QString why;
    const QByteArray password = revealedAnswer(captcha->EmbeddedWB1->url(), why);
    if (password.isEmpty()) {
        fail(QStringLiteral("Security image: ") + why);
        captcha->btnCancel->click();
        return;
    }
    captcha->edtPassword->setText(QString::fromLatin1(password));
    ++m_challengesAnswered;
    captcha->btnOk->click();
}

bool DemoSession::setMainKeyword(const QByteArray& seed)
{
    m_seed = seed;
    m_window.btnMainKeyword->click();
    if (m_window.MainKeyword != seed)
        return fail(QStringLiteral("The main keyword was not taken"));
    return m_error.isEmpty();
}

bool DemoSession::gatherKeywords()
{
    const int before = m_window.items->count();
    m_window.btnGatherKeyword->click();
    if (!m_error.isEmpty())
        return false;
    if (m_window.items->count() == before)
        return fail(QStringLiteral("Gather Keywords added no rows: ") +
                    m_window.MainStatusPanel->text());
    return true;
}

bool DemoSession::gatherData(bool broadSearch, int stopAtPage)
{
    m_broadSearch = broadSearch;
    m_pagesArrived = 0;
    // Each result page announces itself once, when its first bytes arrive;
    // the click then comes in with the events the fetch lets through, like a
    // user's click during the transfer. A run already over is not restarted.
    const QMetaObject::Connection counting =
        connect(m_window.IdHTTP1, &PageFetcher::WorkBegin, this, [this, stopAtPage] {
            if (++m_pagesArrived != stopAtPage)
                return;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (m_window.currentRun() == TfrmMain::Run::Counts)
                        m_window.btnGatherData->click();
                },
                Qt::QueuedConnection);
        });
    m_window.btnGatherData->click();
    disconnect(counting);

    if (!m_error.isEmpty())
        return false;
    if (m_window.currentRun() != TfrmMain::Run::None ||
        m_window.btnGatherData->text() != QLatin1String("Gather Data"))
        return fail(QStringLiteral("Gather Data did not come back to rest"));
    if (stopAtPage > 0 && m_pagesArrived < stopAtPage)
        return fail(QStringLiteral("The run ended after %1 pages, before the stop at page %2")
                        .arg(m_pagesArrived)
                        .arg(stopAtPage));
    if (stopAtPage == 0 && m_window.Aborted)
        return fail(QStringLiteral("Gather Data was cut short: ") +
                    m_window.MainStatusPanel->text());
    return true;
}

bool DemoSession::sortByGoogleDescending()
{
    // The first click on a header keeps the direction last used; a second
    // click on the same header turns it round.
    for (int click = 0; click < 2; ++click) {
        if (!clickHeaderSection(m_window.lvwItems->horizontalHeader(), KeywordTableModel::Google))
            return fail(QStringLiteral("The Google header is not on screen"));
        if (SortColumn == KeywordTableModel::Google && !SortAscending)
            return true;
    }
    return fail(QStringLiteral("Two clicks on Google did not sort it descending"));
}

bool DemoSession::saveResults(const QString& path)
{
    bool asked = false;
    setFileChooserHook([&asked, path](const FileRequest& request) {
        asked = request.mode == FileRequest::Mode::Save;
        return asked ? path : QString();
    });
    m_window.btnSaveResults->click();
    setFileChooserHook({});
    if (!m_error.isEmpty())
        return false;
    if (!asked)
        return fail(QStringLiteral("Save Results asked for no file name"));
    if (!QFileInfo::exists(withCsvExtension(path)))
        return fail(QStringLiteral("Save Results wrote no file ") + withCsvExtension(path));
    return true;
}

bool DemoSession::run(const QByteArray& seed, bool broadSearch, const QString& savePath)
{
    return setMainKeyword(seed) && gatherKeywords() && gatherData(broadSearch) &&
           sortByGoogleDescending() && saveResults(savePath);
}

} // namespace zanthe::demo

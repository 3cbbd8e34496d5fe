#include "ModalScript.h"
#include "SuggestServer.h"
#include "TestSupport.h"

#include "app/MessageBox.h"
#include "app/ModalSeam.h"
#include "dialogs/FCaptcha.h"
#include "dialogs/ImageView.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace zanthe;
using namespace zanthe::test;

namespace {

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage picture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

// A 1x1 GIF (Qt reads GIF but cannot write it).
const QByteArray TinyGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                         "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                         "\x02\x02"
                         "D\x01\x00;",
                         43);

} // namespace

class TestCaptcha final : public QObject {
    Q_OBJECT

    QWidget m_owner; // stands in for the main window that owns msgMain
    SkinMessage* m_messages = new SkinMessage(&m_owner);
    std::unique_ptr<SuggestServer> m_server;

    std::unique_ptr<TfrmCaptcha> dialogFor(const QByteArray& page)
    {
        auto d = std::make_unique<TfrmCaptcha>(m_messages, m_server->base());
        d->PageHtml = page;
        return d;
    }
    std::unique_ptr<TfrmCaptcha> shownDialogFor(const QByteArray& page)
    {
        auto d = dialogFor(page);
        d->show();
        return d;
    }

private slots:
    void init()
    {
        m_server = std::make_unique<SuggestServer>();
        m_server->setImage(encoded(picture(120, 40), "PNG"));
        m_messages->clearHistory();
    }
    void cleanup()
    {
        setModalHook({});
        m_server.reset();
    }

    void layoutAndTexts()
    {
        auto d = dialogFor({});
        QCOMPARE(d->objectName(), QString("frmCaptcha"));
        QCOMPARE(d->windowTitle(), QString("Security image"));
        QCOMPARE(d->size(), QSize(310, 209));
        QCOMPARE(d->bsSkinStdLabel2->text(), QString("Please enter the characters in the image"));
        QCOMPARE(d->bsSkinStdLabel2->pos(), QPoint(13, 7));
        QCOMPARE(d->EmbeddedWB1->geometry(), QRect(13, 26, 280, 111));
        QCOMPARE(d->edtPassword->x(), 13);
        QCOMPARE(d->edtPassword->width(), 280);
        QCOMPARE(d->bsSkinButton1->text(), QString("Refresh"));
        QCOMPARE(d->btnOk->text(), QString("Ok"));
        QCOMPARE(d->btnCancel->text(), QString("Cancel"));
        QCOMPARE(d->bsSkinButton1->geometry(), QRect(15, 171, 82, 21));
        QCOMPARE(d->btnOk->geometry(), QRect(127, 171, 82, 21));
        QCOMPARE(d->btnCancel->geometry(), QRect(216, 171, 82, 21));
        for (QPushButton* b : {d->bsSkinButton1, d->btnOk, d->btnCancel}) {
            QVERIFY(!b->isDefault());
            QVERIFY(!b->autoDefault());
        }
        QVERIFY(!(d->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(d->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(d->windowFlags() & Qt::WindowContextHelpButtonHint));
        QVERIFY(d->RandomValue.isEmpty() && d->SeedValue.isEmpty() && d->ImageUrl.isEmpty());
        QVERIFY(d->PageHtml.isEmpty());
    }

    // Showing reads the page and loads the image; Refresh fetches it again
    // and leaves the fields alone.
    void showAndRefresh()
    {
        auto d =
            shownDialogFor(challengePage("123", "abc", m_server->base() + "/image?id=1&amp;x=2"));
        QCOMPARE(d->RandomValue, QByteArray("123"));
        QCOMPARE(d->SeedValue, QByteArray("abc"));
        QCOMPARE(d->ImageUrl, m_server->base() + "/image?id=1&x=2");
        QTRY_COMPARE(d->EmbeddedWB1->state(), ImageView::State::Shown);
        QCOMPARE(d->EmbeddedWB1->picture().size(), QSize(120, 40));
        QCOMPARE(d->EmbeddedWB1->statusText(), QString());
        QCOMPARE(m_server->imageTargets(), QByteArrayList{"/image?id=1&x=2"});
        QVERIFY(d->isVisible());

        m_server->setImage(encoded(picture(90, 30), "PNG"));
        QTest::mouseClick(d->bsSkinButton1, Qt::LeftButton);
        QTRY_COMPARE(m_server->imageTargets().size(), 2);
        QTRY_COMPARE(d->EmbeddedWB1->picture().size(), QSize(90, 30));
        QCOMPARE(m_server->imageTargets().last(), QByteArray("/image?id=1&x=2"));
        QCOMPARE(d->RandomValue, QByteArray("123"));
        QCOMPARE(d->SeedValue, QByteArray("abc"));
        QCOMPARE(d->ImageUrl, m_server->base() + "/image?id=1&x=2");
        QVERIFY(d->isVisible());
    }

    void imageFormatsAndFit_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("png small")
            << encoded(picture(200, 60), "PNG") << QByteArray("image/png") << QSize(200, 60);
        QTest::newRow("png exact")
            << encoded(picture(280, 111), "PNG") << QByteArray("image/png") << QSize(280, 111);
        QTest::newRow("png twice the area")
            << encoded(picture(560, 222), "PNG") << QByteArray("image/png") << QSize(280, 111);
        QTest::newRow("png too wide")
            << encoded(picture(840, 111), "PNG") << QByteArray("image/png") << QSize(280, 37);
        QTest::newRow("png too tall")
            << encoded(picture(100, 222), "PNG") << QByteArray("image/png") << QSize(50, 111);
        QTest::newRow("gif") << TinyGif << QByteArray("image/gif") << QSize(1, 1);
        QTest::newRow("jpeg") << encoded(picture(150, 50), "JPEG") << QByteArray("image/jpeg")
                              << QSize(150, 50);
        QTest::newRow("bmp") << encoded(picture(150, 50), "BMP") << QByteArray("image/bmp")
                             << QSize(150, 50);
        // The picture's own bytes decide, not the label the server puts on it.
        QTest::newRow("mislabelled png")
            << encoded(picture(70, 20), "PNG") << QByteArray("text/plain") << QSize(70, 20);
    }
    void imageFormatsAndFit()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, type);
        QFETCH(QSize, shown);
        m_server->setImage(body, type);
        auto d = shownDialogFor(challengePage("1", "2", "/image"));
        QTRY_VERIFY(d->EmbeddedWB1->state() != ImageView::State::Loading);
        QCOMPARE(d->EmbeddedWB1->state(), ImageView::State::Shown);
        QCOMPARE(d->EmbeddedWB1->picture().size(), shown);
    }

    void relativeAddress()
    {
        auto d = shownDialogFor(challengePage("1", "2", "/image?rel=1&amp;t=9"));
        QCOMPARE(d->ImageUrl, QByteArray("/image?rel=1&t=9"));
        QTRY_COMPARE(d->EmbeddedWB1->state(), ImageView::State::Shown);
        QCOMPARE(m_server->imageTargets(), QByteArrayList{"/image?rel=1&t=9"});
        QCOMPARE(d->EmbeddedWB1->url().toString(), QString(m_server->base() + "/image?rel=1&t=9"));
    }

    // Addresses the page must not make the dialog open: shown as a failed
    // load, nothing is fetched, the dialog opens with its values.
    void refusedAddress_data()
    {
        QTest::addColumn<QByteArray>("src");
        QTest::newRow("file") << QByteArray("file:///etc/hostname");
        QTest::newRow("javascript") << QByteArray("javascript:alert(1)");
        QTest::newRow("data") << QByteArray("data:image/png;base64,iVBORw0KGgo=");
        QTest::newRow("empty") << QByteArray();
    }
    void refusedAddress()
    {
        QFETCH(QByteArray, src);
        auto d = shownDialogFor(challengePage("77", "golf", src));
        QCOMPARE(d->EmbeddedWB1->state(), ImageView::State::Failed);
        QCOMPARE(d->EmbeddedWB1->statusText(), ImageView::failedText());
        QCOMPARE(d->ImageUrl, src);
        QCOMPARE(d->RandomValue, QByteArray("77"));
        QCOMPARE(d->SeedValue, QByteArray("golf"));
        QTest::mouseClick(d->bsSkinButton1, Qt::LeftButton);
        QTest::qWait(100);
        QCOMPARE(d->EmbeddedWB1->state(), ImageView::State::Failed);
        QVERIFY(m_server->imageTargets().isEmpty());
        QVERIFY(m_server->pageTargets().isEmpty());
        QVERIFY(d->isVisible());
    }

    // A failed load says so and keeps the dialog; Refresh tries again.
    void failedLoadThenRefresh_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("not found") << 404 << encoded(picture(10, 10), "PNG");
        QTest::newRow("not a picture") << 200 << QByteArray("<html>nope</html>");
        QTest::newRow("empty body") << 200 << QByteArray();
    }
    void failedLoadThenRefresh()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        m_server->setImage(body, "image/png", status);
        auto d = shownDialogFor(challengePage("1", "2", "/image"));
        QTRY_COMPARE(d->EmbeddedWB1->state(), ImageView::State::Failed);
        QCOMPARE(d->EmbeddedWB1->statusText(), ImageView::failedText());
        QVERIFY(d->isVisible());

        m_server->setImage(encoded(picture(64, 32), "PNG"));
        QTest::mouseClick(d->bsSkinButton1, Qt::LeftButton);
        QTRY_COMPARE(d->EmbeddedWB1->state(), ImageView::State::Shown);
        QCOMPARE(d->EmbeddedWB1->picture().size(), QSize(64, 32));
        QCOMPARE(m_server->imageTargets().size(), 2);
    }

    // The dialog answers while the image is still on its way.
    void slowImageDoesNotBlock()
    {
        m_server->setImage(encoded(picture(60, 20), "PNG"), "image/png", 200, 1500);
        auto d = dialogFor(challengePage("1", "2", "/image"));
        int result = -1;
        qint64 elapsed = -1;
        QString statusWhileOpen;
        setModalHook([&](QDialog* dlg) {
            auto* c = qobject_cast<TfrmCaptcha*>(dlg);
            statusWhileOpen = c->EmbeddedWB1->statusText();
            QTest::mouseClick(c->btnCancel, Qt::LeftButton);
        });
        QTimer::singleShot(5000, d.get(), [&] { d->done(99); }); // never hang
        QElapsedTimer clock;
        clock.start();
        result = execModal(d.get());
        elapsed = clock.elapsed();
        QCOMPARE(statusWhileOpen, ImageView::loadingText());
        QCOMPARE(result, TfrmCaptcha::mrCancel);
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
    }

    void emptyAnswer()
    {
        MessageAnswerer answers{true};
        auto d = shownDialogFor(challengePage("1", "2", "/image"));
        QTest::mouseClick(d->btnOk, Qt::LeftButton);
        QCOMPARE(answers.texts, QStringList{"Please enter a password."});
        QCOMPARE(m_messages->history().size(), 1);
        QCOMPARE(m_messages->history().first().kind, SkinMessage::Kind::Information);
        QCOMPARE(m_messages->history().first().buttons, SkinMessage::Buttons::Ok);
        QVERIFY(d->isVisible());
        QCOMPARE(d->result(), 0);
        QCOMPARE(d->RandomValue, QByteArray("1"));

        // One blank is an answer.
        QTest::keyClicks(d->edtPassword, " ");
        QTest::mouseClick(d->btnOk, Qt::LeftButton);
        QVERIFY(!d->isVisible());
        QCOMPARE(d->result(), TfrmCaptcha::mrOk);
        QCOMPARE(d->password(), QByteArray(" "));
        QCOMPARE(answers.unexpected, 0);
    }

    void modalResult_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("ok with an answer") << "ok" << TfrmCaptcha::mrOk;
        QTest::newRow("cancel button") << "cancel" << TfrmCaptcha::mrCancel;
        QTest::newRow("window closed") << "close" << TfrmCaptcha::mrCancel;
    }
    void modalResult()
    {
        QFETCH(QString, action);
        auto d = dialogFor(challengePage("1", "2", "/image"));
        setModalHook([action](QDialog* dlg) {
            auto* c = qobject_cast<TfrmCaptcha*>(dlg);
            QTest::keyClicks(c->edtPassword, "x7 K");
            if (action == "ok")
                QTest::mouseClick(c->btnOk, Qt::LeftButton);
            else if (action == "cancel")
                QTest::mouseClick(c->btnCancel, Qt::LeftButton);
            else
                c->close();
        });
        QTimer::singleShot(5000, d.get(), [&] { d->done(99); });
        QTEST(execModal(d.get()), "result");
        QCOMPARE(d->password(), QByteArray("x7 K"));
    }

    // No key is bound: Enter in the answer field presses nothing, Escape
    // does not close the dialog.
    void enterIsNotBound()
    {
        auto d = shownDialogFor(challengePage("1", "2", "/image"));
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        int pressed = 0;
        for (QPushButton* b : {d->bsSkinButton1, d->btnOk, d->btnCancel})
            connect(b, &QPushButton::clicked, d.get(), [&pressed] { ++pressed; });
        QTest::keyClicks(d->edtPassword, "abcd");
        QVERIFY(d->edtPassword->hasFocus());
        QTest::keyClick(d->edtPassword, Qt::Key_Return);
        QTest::keyClick(d->edtPassword, Qt::Key_Enter);
        QTest::keyClick(d->edtPassword, Qt::Key_Escape);
        QCOMPARE(pressed, 0);
        QVERIFY(d->isVisible());
        QCOMPARE(d->result(), 0);
        QVERIFY(m_messages->history().isEmpty());
    }
};

ZANTHE_TEST(TestCaptcha)
#include "tst_captcha.moc"

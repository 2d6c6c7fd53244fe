// The caret's line on a refreshable Braille display, through the real BRLTTY and BrlAPI: BRLTTY
// runs with its virtual display driver, and this test plays the display at the other end of the
// driver's socket, reading the dots BRLTTY puts on it and pressing its routing keys.

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/text_bridge.h"
#include "gui_harness.h"

namespace {

// The display at the other end of BRLTTY's virtual driver: a line protocol over a socket.
class VirtualDisplay {
public:
    ~VirtualDisplay() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    bool connect(const QString& path) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path.toLocal8Bit();
        std::memcpy(address.sun_path, bytes.constData(),
                    std::min<std::size_t>(bytes.size(), sizeof address.sun_path - 1));
        return ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }

    void send(const char* line) {
        const std::string text = std::string(line) + "\n";
        QVERIFY(::write(fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size()));
    }

    // The dots BRLTTY last put on the text row, as "456|1346|..." without trailing blanks.
    QString cells() {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
            pending_ += QByteArray(buffer, static_cast<int>(n));
        }
        int end = 0;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QByteArray line = pending_.left(end).trimmed();
            pending_.remove(0, end + 1);
            if (line.startsWith("Braille \"")) {
                QStringList cells = QString::fromLatin1(line.mid(9, line.size() - 10)).split(u'|');
                while (!cells.isEmpty() && cells.last().trimmed().isEmpty()) {
                    cells.removeLast();
                }
                last_ = cells.join(u'|');
            }
        }
        return last_;
    }

private:
    int fd_ = -1;
    QByteArray pending_;
    QString last_;
};

}  // namespace

class BrailleDisplayTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QProcess brltty_;
    VirtualDisplay display_;
    std::unique_ptr<gui_test::Harness> h;

private slots:
    void initTestCase() {
        // A BrlAPI server of this test's own, on a socket no other server uses.
        const QString host = QStringLiteral(":%1").arg(100 + ::getpid() % 800);
        qputenv("BRLAPI_HOST", host.toLatin1());
        qputenv("BRLAPI_AUTH", "none");
        const QString socket = dir_.filePath(QStringLiteral("display.sock"));
        brltty_.setProcessChannelMode(QProcess::MergedChannels);
        brltty_.start(
            QStringLiteral("brltty"),
            {QStringLiteral("-n"), QStringLiteral("-e"),
             QStringLiteral("-q"), QStringLiteral("-Z"),
             QStringLiteral("-f"), QStringLiteral("/dev/null"),
             QStringLiteral("-F"), QStringLiteral("/dev/null"),
             QStringLiteral("-P"), dir_.filePath(QStringLiteral("brltty.pid")),
             QStringLiteral("-U"), dir_.path(),
             QStringLiteral("-W"), dir_.path(),
             QStringLiteral("-b"), QStringLiteral("vr"),
             QStringLiteral("-d"), QStringLiteral("server:") + socket,
             QStringLiteral("-x"), QStringLiteral("no"),
             QStringLiteral("-s"), QStringLiteral("no"),
             QStringLiteral("-A"), QStringLiteral("host=") + host + QStringLiteral(",auth=none")});
        QVERIFY2(brltty_.waitForStarted(5000), "BRLTTY does not start (Debian's brltty package)");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
        QVERIFY(display_.connect(socket));
        display_.send("cells 20");
        // With nothing to read, BRLTTY says so on the display.
        QTRY_VERIFY_WITH_TIMEOUT(!display_.cells().isEmpty(), 10000);
    }

    void cleanupTestCase() {
        h.reset();
        brltty_.kill();
        brltty_.waitForFinished(5000);
    }

    void theDisplayShowsTheCaretLineAndItsRoutingKeysMoveTheCaret() {
        h = std::make_unique<gui_test::Harness>();
        h->start();
        QTRY_VERIFY_WITH_TIMEOUT(!h->find<QWidget>("Panel1")->isVisible(), 5000);
        auto* memo2 = h->find<QPlainTextEdit>("Memo2");
        QTRY_VERIFY(memo2->hasFocus());
        QTest::keyClicks(memo2, QStringLiteral("#ab"));
        QTest::keyClick(memo2, Qt::Key_Return);
        QTest::keyClicks(memo2, QStringLiteral("_x|_a1"));
        QCOMPARE(h->view->logic().widgets().Memo2.text(), std::string("#ab\r\n_x|_a1"));

        // The line in the workbench's cell code, the caret after "1" as dots 7 and 8.
        QTRY_COMPARE_WITH_TIMEOUT(display_.cells(), QStringLiteral("456|1346|34|456|1|16|78"),
                                  5000);

        // The routing key over the third cell puts the caret before "|" (the virtual driver
        // passes its number on as BRLTTY's cell offset, counted from 0).
        display_.send("Route 2");
        QTRY_COMPARE_WITH_TIMEOUT(memo2->textCursor().positionInBlock(), 2, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(display_.cells(), QStringLiteral("456|1346|3478|456|1|16"), 5000);
        // Typing goes on there.
        QTest::keyClicks(memo2, QStringLiteral("b"));
        QTRY_COMPARE_WITH_TIMEOUT(display_.cells(), QStringLiteral("456|1346|12|3478|456|1|16"),
                                  5000);

        // The focus leaves the Braille editor: the display goes back to BRLTTY, and its routing
        // keys no longer move the caret.
        const int caret = memo2->textCursor().position();
        h->find<QWidget>("Converti")->setFocus();
        QTRY_VERIFY(!memo2->hasFocus());
        display_.send("Route 0");
        QTest::qWait(500);
        QCOMPARE(memo2->textCursor().position(), caret);

        // Back in the editor, the line is shown again.
        memo2->setFocus();
        QTest::keyClick(memo2, Qt::Key_End);
        QTRY_COMPARE_WITH_TIMEOUT(display_.cells(), QStringLiteral("456|1346|12|34|456|1|16|78"),
                                  5000);
    }
};

QTEST_MAIN(BrailleDisplayTest)
#include "braille_display_brltty_test.moc"

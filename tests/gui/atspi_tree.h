#pragma once

// The accessibility tree of this very program as a screen reader reads it: dumped over AT-SPI
// by atspi_dump.py in a process of its own, while this program's event loop keeps answering.

#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace gui_test {

struct AtspiEntry {
    int depth = 0;
    QString role;
    bool showing = false;
    QString name;
    bool focused = false;
    QString description;
};

// Empty when the program is not on the accessibility bus.
inline QList<AtspiEntry> readAtspiTree() {
    QProcess reader;
    QEventLoop loop;
    QObject::connect(&reader, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reader, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    reader.start(
        QStringLiteral("/usr/bin/python3"),
        {QString::fromLocal8Bit(TATTILO_SOURCE_DIR) + QStringLiteral("/tests/gui/atspi_dump.py"),
         QString::number(QCoreApplication::applicationPid())});
    loop.exec();
    const QByteArray err = reader.readAllStandardError();
    if (reader.state() != QProcess::NotRunning || reader.exitCode() != 0) {
        reader.kill();
        reader.waitForFinished(1000);
        qWarning("%s", err.constData());
        return {};
    }
    QList<AtspiEntry> tree;
    for (const QByteArray& line : reader.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 6) {
            tree.append({f[0].toInt(), QString::fromUtf8(f[1]), f[2] == "1",
                         QString::fromUtf8(f[3]), f[4] == "1", QString::fromUtf8(f[5])});
        }
    }
    return tree;
}

// What atspi_read.py says about this very program (see its usage); empty on failure.
inline QStringList readAtspi(const QString& what, const QStringList& more = {}) {
    QProcess reader;
    QEventLoop loop;
    QObject::connect(&reader, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&reader, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    reader.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QString::fromLocal8Bit(TATTILO_SOURCE_DIR) +
                                 QStringLiteral("/tests/gui/atspi_read.py"),
                             what, QString::number(QCoreApplication::applicationPid())} +
                     more);
    loop.exec();
    if (reader.state() != QProcess::NotRunning || reader.exitCode() != 0) {
        reader.kill();
        reader.waitForFinished(1000);
        qWarning("%s", reader.readAllStandardError().constData());
        return {};
    }
    QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n');
    lines.removeAll(QString());
    return lines;
}

// The notices a screen reader hears by itself (notifications and alerts that appear), "role
// <tab> name" each, from when start() returns until heard() is asked.
class AtspiNotices {
public:
    bool start(int seconds = 6) {
        listener_.start(
            QStringLiteral("/usr/bin/python3"),
            {QString::fromLocal8Bit(TATTILO_SOURCE_DIR) +
                 QStringLiteral("/tests/gui/atspi_read.py"),
             QStringLiteral("notices"), QString::number(QCoreApplication::applicationPid()),
             QString::number(seconds)});
        QEventLoop loop;
        QObject::connect(&listener_, &QProcess::readyReadStandardOutput, &loop, [&] {
            if (listener_.canReadLine()) {
                loop.quit();
            }
        });
        QObject::connect(&listener_, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
        return listener_.readLine().trimmed() == "ready";
    }
    QStringList heard() {
        QEventLoop loop;
        QObject::connect(&listener_, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (listener_.state() != QProcess::NotRunning) {
            loop.exec();
        }
        QStringList lines = QString::fromUtf8(listener_.readAllStandardOutput()).split(u'\n');
        lines.removeAll(QString());
        return lines;
    }

private:
    QProcess listener_;
};

// The control that has the keyboard focus, as a screen reader finds it; null for none. Qt
// also marks an editor's viewport (a filler inside it) and the current tab of a tab bar as
// focused: the control is the one that is neither.
inline const AtspiEntry* focusedEntry(const QList<AtspiEntry>& tree) {
    const AtspiEntry* found = nullptr;
    for (const AtspiEntry& e : tree) {
        if (e.focused && e.showing && e.role != QLatin1String("filler") &&
            e.role != QLatin1String("page tab")) {
            found = &e;
        }
    }
    return found;
}

// The names of the showing objects of `role`, in tree order.
inline QStringList namesOfRole(const QList<AtspiEntry>& tree, const QString& role) {
    QStringList names;
    for (const AtspiEntry& e : tree) {
        if (e.showing && e.role == role) {
            names << e.name;
        }
    }
    return names;
}

inline bool isButtonRole(const QString& role) {
    return role == QLatin1String("push button") || role == QLatin1String("toggle button") ||
           role == QLatin1String("check box") || role == QLatin1String("radio button");
}

}  // namespace gui_test

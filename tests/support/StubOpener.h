#pragma once
// A stub xdg-open put first on PATH: it records each argument on a line of its own, then "--".
#include <QFile>
#include <QTemporaryDir>

class StubOpener {
public:
    StubOpener() : originalPath_(qgetenv("PATH")) {
        QFile stub(dir_.filePath("xdg-open"));
        stub.open(QIODevice::WriteOnly);
        stub.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done >> \"$STUB_LOG\"\n"
                   "echo -- >> \"$STUB_LOG\"\n");
        stub.close();
        stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("STUB_LOG", log().toUtf8());
        qputenv("PATH", dir_.path().toUtf8() + ':' + originalPath_);
    }
    ~StubOpener() { qputenv("PATH", originalPath_); }
    StubOpener(const StubOpener&) = delete;
    StubOpener& operator=(const StubOpener&) = delete;

    QString filePath(const QString& name) const { return dir_.filePath(name); }
    void clear() const { QFile::remove(log()); }
    QStringList recorded() const {
        QFile file(log());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split('\n')
                                              : QStringList{};
    }

private:
    QString log() const { return dir_.filePath("xdg-open.log"); }
    QTemporaryDir dir_;
    QByteArray originalPath_;
};

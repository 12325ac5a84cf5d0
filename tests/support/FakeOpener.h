#pragma once
// A stand-in for the desktop's opener of documents and links (xdg-open),
// first on PATH while the object lives. Each run keeps the link it was given
// and then waits until the test lets it end, with the exit code the test
// chose; so the test sees it running, and sees what its end brings.
#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

class FakeOpener
{
public:
    FakeOpener() : path_(qgetenv("PATH"))
    {
        QFile script(dir_.filePath("xdg-open"));
        if (script.open(QIODevice::WriteOnly)) {
            script.write("#!/bin/sh\n"
                         "printf '%s' \"$1\" > \"$0.part\" && mv \"$0.part\" \"$0.link\"\n"
                         "while [ ! -e \"$0.exit\" ]; do sleep 0.02; done\n"
                         "exit \"$(cat \"$0.exit\")\"\n");
            script.close();
        }
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", dir_.path().toLocal8Bit() + ":" + path_);
    }
    ~FakeOpener() { qputenv("PATH", path_); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    // A run has started and holds this link (the file comes whole).
    bool Running() const { return QFile::exists(File("link")); }
    QByteArray Link() const
    {
        QFile link(File("link"));
        return link.open(QIODevice::ReadOnly) ? link.readAll() : QByteArray();
    }
    // Lets the run end with this exit code.
    void Exit(int code)
    {
        QSaveFile exit(File("exit")); // written whole before the run sees it
        if (exit.open(QIODevice::WriteOnly)) {
            exit.write(QByteArray::number(code));
            exit.commit();
        }
    }
    // Ready for the next run, once the last one has ended.
    void Reset()
    {
        QFile::remove(File("link"));
        QFile::remove(File("exit"));
    }

private:
    QString File(const char* suffix) const { return dir_.filePath(QString("xdg-open.") + suffix); }

    QTemporaryDir dir_;
    QByteArray path_;
};

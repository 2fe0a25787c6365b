#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <string>

namespace varnet::testing {

// Runs a test in a fresh, empty working directory (the program keeps its
// files in the current directory) and returns to the old one afterwards.
class ScopedWorkDir {
public:
    ScopedWorkDir() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~ScopedWorkDir() { QDir::setCurrent(previous_); }
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    QString path() const { return dir_.path(); }
    std::string file(const QString& name) const { return dir_.filePath(name).toStdString(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

} // namespace varnet::testing

// ToolLauncher: starts the desktop's own tools (settings, file search, network mounts).
#pragma once

#include <QString>
#include <QStringList>

// Finds the first installed program of a list of candidates and starts it detached; nothing
// waits for it. Without any candidate installed the call does nothing and says so by its result.
// Usable from the user-interface thread.
class ToolLauncher {
public:
    // The desktop's settings program (the control panel).
    static bool startControlPanel();
    // The desktop's file search tool.
    static bool startSystemSearch();
    // Mounts or unmounts a network share with gio; false when gio is missing or fails to start.
    static bool mountShare(const QString &address);
    static bool unmountShare(const QString &mountPoint);
    // Runs a command line typed by the user (split like a shell, no shell features).
    static bool runCommandLine(const QString &commandLine, const QString &workingDirectory);

    // The first of the candidates found on PATH, empty when none is.
    static QString findFirst(const QStringList &candidates);
};

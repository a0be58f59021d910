#pragma once
// Files the user names for an export or a backup must never be the program's own: the open
// database and the files the engine keeps beside it, its lock file, the settings file.
// Compared by what the name reaches on disk (symbolic links followed, hard links alike),
// not by how it is spelled.

#include <QString>

class Session;

struct OwnFiles {
    QString database;      // empty when there is none
    QString settingsFile;  // empty when there is none
};

// The session's database and settings file.
OwnFiles ownFilesOf(const Session& session);

// False for a name the system cannot be given as it is: undecodable bytes (shown as the
// replacement character), an embedded NUL, or a name that does not survive encoding.
bool representableFileName(const QString& name);

// Why path must not be written, naming the file; empty when it may be. Also refuses a
// name that is not representableFileName(), which would be written under another name.
QString refuseOutput(const QString& path, const OwnFiles& own);

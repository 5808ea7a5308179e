// Files the program makes in its folders take the folder's group and access: in a folder the
// package shares with the group mirel (0770, set-group-id) every file is 0660 of that group,
// whichever member of the group (or root) made it, so the kiosk user and the MES import keep
// reading and writing what the other made.
#pragma once

#include <QString>

namespace FolderMode {

/// Sets the process's file-creation mask from the folder's access: new files and folders get
/// what the folder grants and nothing it does not (0770 → files 0660, folders 0770; 0755 →
/// 0644); nobody outside the group is ever given write access.
void adopt(const QString& folder);

/// Creates an empty file at path when none is there, with exactly its folder's access (without
/// execute) and the folder's group. SQLite makes its files 0644 whatever the mask, and its
/// journal files copy the database file's access: a database pre-made here gets the folder's.
/// False (with the reason) when the file cannot be made; true when it was there already.
bool precreate(const QString& path, QString* error = nullptr);

/// True when this process may make files in the folder.
bool canCreateIn(const QString& folder);

} // namespace FolderMode

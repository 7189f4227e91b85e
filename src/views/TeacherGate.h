#pragma once

#include <QString>

struct AppState;

// The teacher gate of the level menu: the teacher types the folder that holds the key
// file "keypass.txt"; only when that file can be opened do the editors open. The folder
// is kept as item 5 of the shared configuration file "共通データ.txt".

inline constexpr int configItemCount = 10;
inline constexpr int keyFolderItem = 5;

// "共通データ.txt" in the data root.
QString sharedConfigPath(const AppState& state);

// The key file inside the folder, exactly as typed: the separator is appended the
// platform's way, without removing trailing separators or blanks.
QString keyFilePath(const QString& folder);

// True when the key file can be opened for reading (its content is not read).
bool keyFileOpens(const QString& folder);

struct KeyFolderRead {
    bool ok = false;
    QString folder; // item 5
    QString error;  // readable, naming the file, when !ok
};

// Item 5 of the shared configuration file.
KeyFolderRead readKeyFolder(const AppState& state);

// Rewrites the shared configuration file with item 5 replaced by folder: one item a line,
// every other item written back the way it was read (texts quoted, numbers bare), the
// file replaced atomically. False with a readable error, leaving the file as it was.
bool rewriteKeyFolder(const AppState& state, const QString& folder, QString* error);

enum class GateOutcome {
    Passed,       // the key file was found (and the folder stored when it had changed)
    KeyMissing,   // "キーフロッピーが見つかりません。"
    ConfigFailed, // the configuration file could not be read or written
};

struct GateResult {
    GateOutcome outcome = GateOutcome::KeyMissing;
    QString error; // for ConfigFailed
};

// Tests the key file in typedFolder and, when the folder differs from the one read when
// the panel opened, stores it as item 5.
GateResult passTeacherGate(const AppState& state, const QString& typedFolder,
                           const QString& folderAtOpen);

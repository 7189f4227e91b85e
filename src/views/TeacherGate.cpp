#include "views/TeacherGate.h"

#include "app/AppState.h"
#include "text/ItemReader.h"
#include "text/ItemWriter.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <vector>

namespace {

struct ConfigItems {
    bool ok = false;
    std::vector<Item> items;
    QString error;
};

ConfigItems readConfigItems(const QString& path) {
    ConfigItems result;
    const TextFileRead file = readCp932File(path);
    if (!file.ok) {
        result.error = file.error;
        return result;
    }
    ItemReader reader(file.text);
    while (std::optional<Item> item = reader.next()) {
        result.items.push_back(*item);
    }
    if (static_cast<int>(result.items.size()) < configItemCount) {
        result.error = QStringLiteral("%1 に項目が%2個しかありません（%3個必要です）。")
                           .arg(QDir::toNativeSeparators(path))
                           .arg(result.items.size())
                           .arg(configItemCount);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace

QString sharedConfigPath(const AppState& state) {
    return state.layout.dataRoot + QStringLiteral("共通データ.txt");
}

QString keyFilePath(const QString& folder) {
    return folder + QDir::separator() + QStringLiteral("keypass.txt");
}

bool keyFileOpens(const QString& folder) {
    QFile file(keyFilePath(folder));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    file.close();
    return true;
}

KeyFolderRead readKeyFolder(const AppState& state) {
    KeyFolderRead result;
    const ConfigItems config = readConfigItems(sharedConfigPath(state));
    if (!config.ok) {
        result.error = config.error;
        return result;
    }
    result.ok = true;
    result.folder = config.items[keyFolderItem - 1].text;
    return result;
}

bool rewriteKeyFolder(const AppState& state, const QString& folder, QString* error) {
    const QString path = sharedConfigPath(state);
    if (folder.contains(QLatin1Char('"'))) {
        // A quoted item cannot hold a double quote: the file would no longer read back.
        if (error) {
            *error = QStringLiteral("KeyPassの場所に \" は使えません。");
        }
        return false;
    }
    ConfigItems config = readConfigItems(path);
    if (!config.ok) {
        if (error) {
            *error = config.error;
        }
        return false;
    }
    config.items[keyFolderItem - 1].text = folder;
    config.items[keyFolderItem - 1].quoted = true;
    ItemWriter writer;
    // Items beyond the tenth are not used by the program but are kept all the same.
    for (const Item& item : config.items) {
        // An empty item written bare would be an empty line, which reads as no item at
        // all and would shift every later item; quoted it stays an (empty) item.
        if (item.quoted || item.text.isEmpty()) {
            writer.text(item.text);
        } else {
            writer.bare(item.text);
        }
        writer.endLine();
    }
    return writeCp932FileAtomic(path, writer.result(), error);
}

GateResult passTeacherGate(const AppState& state, const QString& typedFolder,
                           const QString& folderAtOpen) {
    GateResult result;
    if (!keyFileOpens(typedFolder)) {
        result.outcome = GateOutcome::KeyMissing;
        return result;
    }
    if (typedFolder != folderAtOpen && !rewriteKeyFolder(state, typedFolder, &result.error)) {
        result.outcome = GateOutcome::ConfigFailed;
        return result;
    }
    result.outcome = GateOutcome::Passed;
    return result;
}

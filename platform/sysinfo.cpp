#include "sysinfo.h"

#include "externalprograms.h"
#include "filesystem.h"
#include "core/registryvalue.h"

#include <string_view>

namespace blikon {

namespace {

const QString kToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kToolPathValue = QStringLiteral("PATH");
const QString kToolFolderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kToolFolderValue = QStringLiteral("MSINFO");
const QString kToolFileName = QStringLiteral("\\MSINFO32.EXE");

// The path is quoted, so that a path with spaces cannot start another program. An
// empty path (a value of a type that gives no text) names no program at all.
bool startTool(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QString commandLine = QLatin1Char('"') + path + QLatin1Char('"');
    return seam<ExternalPrograms>().start(commandLine, WindowStyle::NormalFocus).has_value();
}

}  // namespace

bool startSysInfoTool()
{
    QString path;
    if (GetKeyValue(RegistryRoot::LocalMachine, kToolKey, kToolPathValue, path))
        return startTool(path);

    QString folder;
    if (!GetKeyValue(RegistryRoot::LocalMachine, kToolFolderKey, kToolFolderValue, folder))
        return false;
    const QString file = folder + kToolFileName;
    return seam<FileSystem>().fileExists(file) && startTool(file);
}

bool GetKeyValue(RegistryRoot KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal)
{
    Registry& registry = seam<Registry>();
    const std::optional<Registry::Key> key = registry.openKey(KeyRoot, KeyName, kKeyRead);
    if (!key) {
        KeyVal.clear();
        return false;
    }
    const OpenKey closeOnReturn(registry, *key);

    const std::optional<Registry::Value> value = registry.queryValue(*key, SubKeyRef, kRegistryBufferSize);
    if (!value) {
        KeyVal.clear();
        return false;
    }
    const std::string_view data(value->data.constData(), static_cast<std::size_t>(value->data.size()));
    if (const std::optional<std::string> text = registryValueText(value->type, data))
        KeyVal = QString::fromLocal8Bit(text->data(), static_cast<qsizetype>(text->size()));
    return true;
}

}  // namespace blikon

#include "Settings.h"

#include "FileName.h"
#include "RuntimeError.h"

#include <QFile>
#include <QSettings>

#include <memory>

namespace platform {

namespace {

std::unique_ptr<QSettings> openStore(const QString& appName)
{
    const qsizetype separator = appName.indexOf(u'\\');
    const QString organisation = separator < 0 ? appName : appName.left(separator);
    const QString application = separator < 0 ? QString() : appName.mid(separator + 1);
    auto store = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organisation, application);
    // The setting is the user's own: no system-wide or organisation-wide value stands in for a missing one.
    store->setFallbacksEnabled(false);
    return store;
}

void raiseOnFailure(const QSettings& store)
{
    switch (store.status()) {
    case QSettings::NoError:
        return;
    case QSettings::AccessError:
        throw RuntimeError(Error::PermissionDenied, store.fileName());
    case QSettings::FormatError:
        throw RuntimeError(Error::PathFileAccess, store.fileName());
    }
}

} // namespace

QString getSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    const auto store = openStore(appName);
    raiseOnFailure(*store);
    store->beginGroup(section);
    const QVariant value = store->value(key);
    if (!value.isValid())
        return defaultValue;
    return value.typeId() == QMetaType::QByteArray ? decodeFileName(value.toByteArray()) : value.toString();
}

void saveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    auto store = openStore(appName);
    if (store->status() == QSettings::FormatError) {
        // A store that cannot be understood is written anew; QSettings keeps reporting the first error it
        // met, so a fresh one is needed to tell whether this write succeeded.
        const QString fileName = store->fileName();
        store.reset();
        QFile::remove(fileName);
        store = openStore(appName);
    }
    store->beginGroup(section);
    // The settings file holds text: a path with bytes that are no text is kept as those bytes instead.
    if (holdsRawBytes(value))
        store->setValue(key, encodeFileName(value));
    else
        store->setValue(key, value);
    store->endGroup();
    store->sync();
    raiseOnFailure(*store);
}

} // namespace platform

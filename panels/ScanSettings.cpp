#include "panels/ScanSettings.h"

#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

namespace panels {

namespace {

const QString kMaxGap = QStringLiteral("Scanner/MaxGapMs");
const QString kMinLength = QStringLiteral("Scanner/MinLength");
const QString kEndKeys = QStringLiteral("Scanner/EndKeys");

int positiveOr(const QVariant& value, int fallback) {
    bool whole = false;
    const int number = value.toString().trimmed().toInt(&whole);
    return whole && number >= 1 ? number : fallback;
}

QString endKeysText(const ScanSettings& settings) {
    QStringList keys;
    if (settings.endsOnEnter) keys << QStringLiteral("Enter");
    if (settings.endsOnTab) keys << QStringLiteral("Tab");
    return keys.join(QLatin1Char(','));
}

ScanSettings& programSettings() {
    static ScanSettings settings;
    return settings;
}

}  // namespace

void setProgramScanSettings(const ScanSettings& settings) { programSettings() = settings; }

ScanSettings programScanSettings() { return programSettings(); }

ScanSettings readScanSettings(const QString& settingsFile) {
    QSettings ini(settingsFile, QSettings::IniFormat);
    const ScanSettings defaults;
    if (!ini.contains(kMaxGap)) ini.setValue(kMaxGap, defaults.maxGapMs);
    if (!ini.contains(kMinLength)) ini.setValue(kMinLength, defaults.minLength);
    if (!ini.contains(kEndKeys)) ini.setValue(kEndKeys, endKeysText(defaults));

    ScanSettings settings;
    settings.maxGapMs = positiveOr(ini.value(kMaxGap), defaults.maxGapMs);
    settings.minLength = positiveOr(ini.value(kMinLength), defaults.minLength);
    // A list value comes back as a list when written unquoted with commas, as text otherwise.
    const QVariant endValue = ini.value(kEndKeys);
    const QStringList names =
        endValue.typeId() == QMetaType::QStringList
            ? endValue.toStringList()
            : endValue.toString().split(QRegularExpression(QStringLiteral("[,\\s]+")),
                                        Qt::SkipEmptyParts);
    settings.endsOnEnter = false;
    settings.endsOnTab = false;
    for (const QString& name : names) {
        const QString key = name.trimmed().toLower();
        if (key == QStringLiteral("enter")) settings.endsOnEnter = true;
        if (key == QStringLiteral("tab")) settings.endsOnTab = true;
    }
    // A list naming no key the scanner can end with would turn detection off unnoticed.
    if (!settings.endsOnEnter && !settings.endsOnTab) {
        settings.endsOnEnter = defaults.endsOnEnter;
        settings.endsOnTab = defaults.endsOnTab;
    }
    return settings;
}

}  // namespace panels

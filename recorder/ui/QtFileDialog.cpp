#include "ui/QtFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "common/CodePage.h"

namespace tavrin {

namespace {
// "Text File(*.txt)|*.txt|All Files(*.*)|*.*" as Qt name filters; "*.*"
// stands for every file.
QStringList nameFilters(const std::string& filter) {
    const QStringList parts = pelomar::fromCodePage(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters;
}
}  // namespace

FileDialog::Result QtFileDialog::ShowOpen(const Settings& settings) { return show(settings, false); }

FileDialog::Result QtFileDialog::ShowSave(const Settings& settings) { return show(settings, true); }

FileDialog::Result QtFileDialog::show(const Settings& settings, bool save) {
    QFileDialog dialog(parent_, pelomar::fromCodePage(settings.DialogTitle));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(settings.Filter));
    dialog.setDefaultSuffix(pelomar::fromCodePage(settings.DefaultExt));
    if (!settings.FileName.empty()) dialog.selectFile(pelomar::fromCodePage(settings.FileName));
    // Without the prompt flag a save replaces an existing file silently.
    if (save && (settings.Flags & kOverwritePrompt) == 0)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    return {pelomar::toCodePage(path), pelomar::toCodePage(QFileInfo(path).fileName())};
}

}  // namespace tavrin

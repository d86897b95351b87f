#include "ui/QtFileDialog.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QStringList>

#include "common/CodePage.h"
#include "common/FileNames.h"

namespace tavrin {

namespace {
// "Text File(*.txt)|*.txt|All Files(*.*)|*.*" as Qt name filters. A
// description that shows its pattern already is the filter's whole text;
// "*.*" stands for every file, as it does for the user.
QStringList nameFilters(const std::string& filter) {
    const QStringList parts = pelomar::fromCodePage(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString shown = parts[i];
        if (!shown.endsWith(QLatin1Char('(') + pattern + QLatin1Char(')')))
            shown += QStringLiteral(" (") + pattern + QLatin1Char(')');
        filters << shown;
    }
    return filters;
}

// The patterns Qt matches for a filter text; Qt reads "*.*" as names with a dot.
QStringList patternsOf(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const QString inside = open < 0 ? filter : filter.mid(open + 1).chopped(1);
    QStringList patterns = inside.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& p : patterns)
        if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    return patterns;
}

void matchEveryFileForStarDotStar(QFileDialog& dialog) {
    const auto apply = [&dialog](const QString& filter) {
        if (auto* model = dialog.findChild<QFileSystemModel*>()) model->setNameFilters(patternsOf(filter));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, apply);
    apply(dialog.selectedNameFilter());
}
}  // namespace

FileDialog::Result QtFileDialog::ShowOpen(const Settings& settings) { return show(settings, false); }

FileDialog::Result QtFileDialog::ShowSave(const Settings& settings) { return show(settings, true); }

FileDialog::Result QtFileDialog::show(const Settings& settings, bool save) {
    QFileDialog dialog(parent_, pelomar::fromCodePage(settings.DialogTitle));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's own dialog on every desktop: it lists a name of any letters as the
    // file system holds it, and its name filters can be kept to the texts above.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setNameFilters(nameFilters(settings.Filter));
    matchEveryFileForStarDotStar(dialog);
    dialog.setDefaultSuffix(pelomar::fromCodePage(settings.DefaultExt));
    if (!settings.FileName.empty()) dialog.selectFile(pelomar::nameToQt(settings.FileName));
    // Without the prompt flag a save replaces an existing file silently.
    if (save && (settings.Flags & kOverwritePrompt) == 0)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    const std::string bytes = pelomar::nameFromQt(path);
    return {bytes, bytes.substr(bytes.find_last_of('/') + 1)};
}

}  // namespace tavrin

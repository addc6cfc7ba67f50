#include "gui/LanguagePicker.h"

#include <QFileDialog>

#include "core/i18n/LanguageFile.h"
#include "core/i18n/LanguagePickerName.h"
#include "gui/WindowManager.h"
#include "gui/widgets/WindowLook.h"

namespace tz {

std::string ShowOpenDialog(QWidget* owner, int mode, const std::string& title,
                           const std::string& initialFile, const std::string& filterName,
                           const std::string& filterPattern, const std::string& initialFolder,
                           const std::string& defaultExtension) {
    if (mode != 1) {
        return {};
    }
    QFileDialog dialog(owner, literalWindowTitle(QString::fromStdString(title)),
                       QString::fromStdString(initialFolder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QString::fromStdString(filterName + " (" + filterPattern + ")"));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (!initialFile.empty()) {
        dialog.selectFile(QString::fromStdString(initialFile));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

void pickLanguageFile(AppState& app, Platform& platform, WindowManager& windows, QWidget* owner) {
    const std::string langFolder = platform.programFolder.folder() + "/Lang";
    const std::string& languageCaption = app.texts[TextId::LanguageLink];
    const std::string chosen =
        ShowOpenDialog(owner, 1, languageCaption, "", languageCaption, "*.lng", langFolder, "lng");
    if (chosen.empty()) {
        windows.applyTexts();
        return;
    }
    if (const auto name = languageNameFromPath(chosen)) {
        app.settings.languageFile = *name;
    }
    // Always from the program's own Lang folder, whatever folder was chosen.
    if (!LoadLanguageFile(
            app.texts, languageFilePath(platform.programFolder.folder(), app.settings.languageFile),
            LoadMode::Picker)) {
        return;
    }
    windows.applyTexts();
}

}  // namespace tz

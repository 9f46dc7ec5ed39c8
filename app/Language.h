// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The language the window speaks. Polish is the texts' own language and the default; English
// comes from the translation built from translations/brasvel-resedit_en.ts. The choice:
//
//   --lang en | --lang pl    (or --lang=en) on the command line, first, the last one counting;
//   else the first of LANGUAGE (its first item), LC_ALL, LC_MESSAGES and LANG that is set:
//   English when it starts with "en", Polish otherwise (pl_PL, C, POSIX, de_DE, ...).
//
// Qt's own dialogs (the file dialog, the message boxes' buttons) follow: qtbase_pl for Polish.

#include <QString>
#include <QTranslator>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QCoreApplication;

namespace brasvel::app {

enum class Language { Polish, English };

// The variable's value, or nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> processEnvironment(const char* name);

// The language asked for by `--lang CODE` or `--lang=CODE` among the arguments (argv[0]
// excluded), else by the environment. An unknown code is an error: std::invalid_argument naming it.
Language chooseLanguage(const std::vector<std::string>& arguments,
                        const EnvironmentLookup& environment = processEnvironment);

// The arguments without `--lang CODE` and `--lang=CODE`, for the rest of the command line.
std::vector<std::string> withoutLanguageOption(const std::vector<std::string>& arguments);

// Where the window's .qm files are looked for: beside the program, as installed
// (bin/../share/brasvel-resedit/translations) and as built (the build tree has the same layout).
QString translationsDirectory();

// The translators of one language, installed into the application while this lives.
class InstalledLanguage {
public:
    explicit InstalledLanguage(Language language);
    ~InstalledLanguage();
    InstalledLanguage(const InstalledLanguage&) = delete;
    InstalledLanguage& operator=(const InstalledLanguage&) = delete;

    Language language() const { return language_; }
    // False when the window's English translation could not be loaded (its texts stay Polish).
    bool complete() const { return complete_; }

private:
    void install(const QString& name, const QString& directory);

    Language language_;
    bool complete_ = true;
    std::vector<std::unique_ptr<QTranslator>> translators_;
};

}  // namespace brasvel::app

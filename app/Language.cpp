// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <cstdlib>
#include <stdexcept>

namespace brasvel::app {

namespace {

constexpr std::string_view kLanguageOption = "--lang";
constexpr std::string_view kLanguageAssignment = "--lang=";

Language languageOfCode(std::string_view code) {
    if (code == "en") {
        return Language::English;
    }
    if (code == "pl") {
        return Language::Polish;
    }
    throw std::invalid_argument("unknown language '" + std::string(code) + "' (en or pl)");
}

// LANGUAGE lists languages by preference, "en_GB:pl"; its first item speaks.
std::string firstItem(const std::string& list) {
    return list.substr(0, list.find(':'));
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

Language chooseLanguage(const std::vector<std::string>& arguments,
                        const EnvironmentLookup& environment) {
    std::optional<Language> asked;  // the last --lang counts, as with other options
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.starts_with(kLanguageAssignment)) {
            asked = languageOfCode(argument.substr(kLanguageAssignment.size()));
        } else if (argument == kLanguageOption) {
            if (i + 1 == arguments.size()) {
                throw std::invalid_argument("--lang needs a language (en or pl)");
            }
            asked = languageOfCode(arguments[++i]);
        }
    }
    if (asked) {
        return *asked;
    }
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::optional<std::string> value = environment(name);
        if (!value || value->empty()) {
            continue;
        }
        const std::string setting =
            name == std::string_view("LANGUAGE") ? firstItem(*value) : *value;
        if (setting.empty()) {
            continue;
        }
        return setting.starts_with("en") ? Language::English : Language::Polish;
    }
    return Language::Polish;
}

std::vector<std::string> withoutLanguageOption(const std::vector<std::string>& arguments) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == kLanguageOption) {
            ++i;  // and its code
            continue;
        }
        if (arguments[i].starts_with(kLanguageAssignment)) {
            continue;
        }
        rest.push_back(arguments[i]);
    }
    return rest;
}

// On Windows the translations are built into the program (one .exe, nothing beside it), Qt's
// own for its dialogs too; elsewhere they are installed files, Qt's where Qt keeps them.
QString translationsDirectory() {
#ifdef _WIN32
    return QStringLiteral(":/translations");
#else
    return QCoreApplication::applicationDirPath() +
           QStringLiteral("/../" BRASVEL_INSTALL_TRANSLATIONSDIR);
#endif
}

namespace {

QString qtTranslationsDirectory() {
#ifdef _WIN32
    return translationsDirectory();
#else
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
}

}  // namespace

InstalledLanguage::InstalledLanguage(Language language) : language_(language) {
    const QString qtDirectory = qtTranslationsDirectory();
    if (language == Language::English) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        // Qt's dialogs speak English without a translation.
        install(QStringLiteral("brasvel-resedit_en"), translationsDirectory());
        complete_ = translators_.size() == 1;
    } else {
        QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
        // The window's texts are Polish already; only Qt's dialogs need a translation. Without
        // one (qt6-translations-l10n missing) their buttons stay English.
        install(QStringLiteral("qtbase_pl"), qtDirectory);
        install(QStringLiteral("qtmultimedia_pl"), qtDirectory);  // the player's errors
    }
}

InstalledLanguage::~InstalledLanguage() {
    for (const auto& translator : translators_) {
        QCoreApplication::removeTranslator(translator.get());
    }
}

void InstalledLanguage::install(const QString& name, const QString& directory) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(name, directory) &&
        QCoreApplication::installTranslator(translator.get())) {
        translators_.push_back(std::move(translator));
    }
}

}  // namespace brasvel::app

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "app/Help.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AppTexts.h"

namespace brasvel::app {
namespace {

QPlainTextEdit* page(const char* text, bool scrollBar) {
    auto* edit = new QPlainTextEdit(appText(text));
    edit->setReadOnly(true);
    edit->setTabChangesFocus(false);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    edit->setPalette(palette);
    QFont font = edit->font();
    font.setPixelSize(13);
    edit->setFont(font);
    return edit;
}

}  // namespace

Thelp::Thelp(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("help"));
    setWindowTitle(appText(texts::kHelpTitle));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(528, 321);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    TabbedNotebook1 = new QTabWidget;
    RichEdit1 = page(texts::kHelpGeneral, false);
    RichEdit2 = page(texts::kHelpUsage, true);
    RichEdit4 = page(texts::kHelpHistory, false);
    TabbedNotebook1->addTab(RichEdit1, appText(texts::kHelpGeneralTab));
    TabbedNotebook1->addTab(RichEdit2, appText(texts::kHelpUsageTab));
    TabbedNotebook1->addTab(RichEdit4, appText(texts::kHelpHistoryTab));
    TabbedNotebook1->setCurrentIndex(2);
    layout->addWidget(TabbedNotebook1);
}

}  // namespace brasvel::app

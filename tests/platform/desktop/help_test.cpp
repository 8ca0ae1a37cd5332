// The help window: opened on the help file's contents, raised again when
// asked twice, closed with the game, and a message instead of a crash when
// the file is missing; and the help file itself.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>

#include "platform/desktop/data_path.h"
#include "platform/desktop/help_viewer.h"
#include "settings/options.h"

namespace ruvo {
namespace {

QList<QWidget*> OpenHelpWindows()
{
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->windowTitle() == "Ruvo Help")
            windows << widget;
    return windows;
}

// Opened on the contents in a window of its own, raised again at the
// contents when asked twice, closed and opened again.
TEST(Help, FinderOpensAWindowOfItsOwnOnTheContentsAndQuitClosesItTheFileHoldsTogether)
{
    QtHelpViewer viewer;
    viewer.Help(kHelpFile, HelpCommand::Quit); // nothing open: nothing happens
    viewer.Help("NOSUCH.HLP", HelpCommand::Finder);
    const QList<QWidget*> windows = OpenHelpWindows();
    ASSERT_EQ(windows.size(), 1);
    QTextBrowser* browser = windows[0]->findChild<QTextBrowser*>("helpText");
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("NOSUCH.HLP could not be opened"));
    viewer.Help(kHelpFile, HelpCommand::Finder); // the real file replaces the message
    ASSERT_EQ(OpenHelpWindows(), windows);
    EXPECT_EQ(windows[0]->parentWidget(), nullptr);
    EXPECT_FALSE(windows[0]->isModal());
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("RUVO.HLP"));
    EXPECT_TRUE(browser->toPlainText().startsWith("Ruvo Zelp! for Windows 95"));
    EXPECT_GT(browser->verticalScrollBar()->maximum(), 0); // a real document, longer than the window

    browser->scrollToAnchor("options");
    ASSERT_GT(browser->verticalScrollBar()->value(), 0);
    windows[0]->hide(); // the player closed it
    viewer.Help(kHelpFile, HelpCommand::Finder);
    ASSERT_EQ(OpenHelpWindows(), windows);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);

    viewer.Help(kHelpFile, HelpCommand::Quit);
    EXPECT_TRUE(OpenHelpWindows().isEmpty());
    viewer.Help(kHelpFile, HelpCommand::Finder);
    ASSERT_EQ(OpenHelpWindows().size(), 1);

    // Every link leads to a section, and every key and option is explained.
    const QTextDocument* document = OpenHelpWindows().value(0)->findChild<QTextBrowser*>("helpText")->document();
    QSet<QString> anchors;
    QStringList links;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                anchors.insert(name);
            if (format.isAnchor() && !format.anchorHref().isEmpty())
                links << format.anchorHref();
        }
    EXPECT_GE(links.size(), 12);
    for (const QString& link : links) {
        ASSERT_TRUE(link.startsWith('#')) << link.toStdString();
        EXPECT_TRUE(anchors.contains(link.mid(1))) << link.toStdString();
    }
    QFile file(QString::fromStdString(FindDataFile(kHelpFile)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    for (const char* key : {">F1<", ">F2<", ">F3<", ">F4<", ">F5<", ">F8<", ">F10<", "Space", "HARRY UP",
                            "~/.config/Tolp/Ruvo.conf", "[General]\nOption=1"})
        EXPECT_TRUE(text.contains(key)) << key;
    for (const OptionRow& row : kOptionRows)
        EXPECT_TRUE(text.contains(QString(">%1<").arg(row.label))) << row.label;
}

} // namespace
} // namespace ruvo

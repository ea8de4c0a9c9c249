// SPDX-License-Identifier: MIT
// The second yardstick of the start-up benchmark: a plain Qt program that shows the start window's captions
// in the same fonts, with no database, registry or check behind them. Its start-up is the cost that no
// program showing this window can avoid (loading the Japanese fonts above all).
#include "launcher/ShownTrace.h"
#include "platform/widgets/Fonts.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void addFrame(QVBoxLayout* layout, const QString& title, const QString& id, const QString& password,
              const QString& button)
{
    auto* frame = new QGroupBox(title);
    frame->setFont(fonts::font(fonts::Face::Gothic, 14.25, true));
    auto* rows = new QVBoxLayout(frame);
    for (const QString& caption : {id, password}) {
        auto* label = new QLabel(caption);
        label->setFont(fonts::font(fonts::Face::Gothic, 11.25, true));
        auto* box = new QLineEdit;
        box->setFont(fonts::font(fonts::Face::Gothic, 11.25));
        rows->addWidget(label);
        rows->addWidget(box);
    }
    rows->addWidget(new QPushButton(button));
    layout->addWidget(frame);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Hanaplan"));
    auto* layout = new QVBoxLayout(&window);
    layout->setMenuBar(new QMenuBar);
    layout->menuBar()->addAction(QStringLiteral("Help"));
    auto* title = new QLabel(QStringLiteral("Hanaplan　作成システム"));
    title->setFont(fonts::font(fonts::Face::Gothic, 18, true));
    layout->addWidget(title);
    addFrame(layout, QStringLiteral("計画書作成"), QStringLiteral("作成者ＩＤ"),
             QStringLiteral("作成者パスワード"), QStringLiteral("作成"));
    addFrame(layout, QStringLiteral("メンテナンス"), QStringLiteral("マスターＩＤ"),
             QStringLiteral("マスターパスワード"), QStringLiteral("NEXT"));
    auto* exit = new QPushButton(QStringLiteral("終了"));
    exit->setFont(fonts::font(fonts::Face::Gothic, 14.25, true));
    layout->addWidget(exit);
    window.resize(583, 396);
    ShownTrace::watch(window);
    window.show();
    return app.exec();
}

#include "export/tfrm_progressform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

Tfrm_ProgressForm::Tfrm_ProgressForm(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frm_ProgressForm"));
    ProgressLabel = new QLabel(this);
    ProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);
}

void Tfrm_ProgressForm::start(const QString& caption, const QString& text, int width, int height,
                              int total) {
    setWindowTitle(caption);
    setFixedSize(width, height);
    const int barHeight = 16;
    ProgressBar->setRange(0, qMax(0, total));
    ProgressBar->setValue(0);
    if (!text.isEmpty()) {
        ProgressLabel->setText(text);
        ProgressLabel->setGeometry(8, 8, width - 16, ProgressLabel->sizeHint().height());
        ProgressLabel->show();
        ProgressBar->setGeometry(8, ProgressLabel->geometry().bottom() + 8, width - 16, barHeight);
    } else {
        ProgressLabel->hide();
        ProgressBar->setGeometry(8, (height - barHeight) / 2, width - 16, barHeight);
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

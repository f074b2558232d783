#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The progress window of an export run, shown without a modal loop.
class Tfrm_ProgressForm final : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_ProgressForm(QWidget* parent = nullptr);

    // Sizes, places and shows the window with the bar at 0 of total, and paints it at once.
    void start(const QString& caption, const QString& text, int width, int height, int total);

    QLabel* ProgressLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
};

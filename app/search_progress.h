// Shows that a search is running and how much of its receive window is left.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

class SearchProgress : public QWidget {
public:
    explicit SearchProgress(QWidget* parent = nullptr);
    // `left` of `window` milliseconds remain.
    void show(int leftMs, int windowMs);

private:
    QLabel* m_label;
    QProgressBar* m_bar;
};

#include "search_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

SearchProgress::SearchProgress(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    m_label = new QLabel(this);
    m_bar = new QProgressBar(this);
    m_bar->setTextVisible(false);
    layout->addWidget(m_label);
    layout->addWidget(m_bar, 1);
}

void SearchProgress::show(int leftMs, int windowMs) {
    m_bar->setRange(0, windowMs);
    m_bar->setValue(windowMs - leftMs);
    m_bar->update();  // the style may draw whole chunks only; repaint on every tick regardless
    m_label->setText(QStringLiteral("Searching, %1 s left").arg(leftMs / 1000.0, 0, 'f', 1));
}

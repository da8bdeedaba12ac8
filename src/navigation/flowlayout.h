// FlowLayout: a layout that places its items left to right and wraps them into further rows.
#pragma once

#include <QLayout>
#include <QList>

// Items keep their size hints; a row ends where the next item would pass the right edge.
// Supports inserting at an index, which the drive bar uses to put new buttons in front.
// User-interface thread only.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget *parent = nullptr, int spacing = 2);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    void insertWidget(int index, QWidget *widget);
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    int arrange(const QRect &rect, bool apply) const;

    QList<QLayoutItem *> m_items;
    int m_spacing;
};

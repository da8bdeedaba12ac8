// TabStrip: a strip of flat, button-like tabs that wraps into further rows instead of scrolling.
#pragma once

#include <QIcon>
#include <QStringList>
#include <QWidget>

// Draws the tabs with one icon each, lays them out in rows that wrap at the strip's width and
// tells which tab lies under a point. A left press on a tab other than the current one makes it
// current and emits currentChanged (only for the user's press, never for setCurrentIndex);
// every mouse release over the strip is reported by released, after the press's signal.
// User-interface thread only.
class TabStrip : public QWidget {
    Q_OBJECT
public:
    explicit TabStrip(QWidget *parent = nullptr);

    void setIcon(const QIcon &icon);
    void addTab(const QString &caption);
    void removeTab(int index);
    int count() const { return static_cast<int>(m_captions.size()); }
    QString tabText(int index) const { return m_captions.value(index); }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    // The tab under a point of the strip, -1 for none (also right of the last tab).
    int tabAt(const QPoint &point) const;
    QRect tabRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void currentChanged(int index);
    void released(Qt::MouseButton button, const QPoint &position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<QRect> layoutFor(int width) const;
    QSize tabSize(int index) const;
    void relayout();

    QStringList m_captions;
    QList<QRect> m_rects;
    QIcon m_icon;
    int m_current = -1;
};

#pragma once

#include <QLayout>
#include <QList>

#include <initializer_list>

// Lays its widgets out in a row, left to right, starting a new row where
// the next would not fit: the window's controls wrap rather than widen it.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
    ~FlowLayout() override;

    // Widgets that stay together on one row, as a label and its field.
    void addGroup(std::initializer_list<QWidget*> widgets);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in rows within `rect` (only measures unless `place`);
    // the height they take.
    int arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> items_;
    int gap_;
};

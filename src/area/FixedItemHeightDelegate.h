#pragma once

#include <QStyledItemDelegate>

// Draws items as usual but gives every item the same fixed height.
class FixedItemHeightDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    FixedItemHeightDelegate(int height, QObject* parent);
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int m_height;
};

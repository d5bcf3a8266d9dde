#include "area/FixedItemHeightDelegate.h"

FixedItemHeightDelegate::FixedItemHeightDelegate(int height, QObject* parent)
    : QStyledItemDelegate(parent), m_height(height)
{
}

QSize FixedItemHeightDelegate::sizeHint(const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_height);
}

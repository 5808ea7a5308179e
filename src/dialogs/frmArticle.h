// The small article form of the item selection dialog: a new article or a change of one
// (code, name, specification, type, unit, price), written to `item`.
#pragma once

#include "dialogs/ItemArticle.h"
#include "screen/Twips.h"

#include <QDialog>

class ComboEx;
class QLabel;
class QLineEdit;
class QPushButton;

class frmArticle : public QDialog {
    Q_OBJECT

public:
    explicit frmArticle(QWidget* parent = nullptr);

    /// Asks for a new article of the class; returns its id, 0 when the operator cancels.
    static int newArticle(int itemClass, QWidget* parent = nullptr);
    /// Edits the stored article; false when it does not exist or the operator cancels.
    static bool changeArticle(int itemId, QWidget* parent = nullptr);

    /// Fills the form (the type list from `itemtype`); throws DbError.
    void prepare(const ItemArticle& article);
    /// Checks and stores the form; on bad input or a refused statement shows why, keeps the
    /// form open and returns false.
    bool save();
    int storedId() const { return m_article.itemId; }

    /// Boxes 0 商品代码, 1 商品名称, 2 商品规格, 3 单位, 4 价格.
    QLineEdit* TxtBox(int i) const;
    ComboEx* ItemType() const { return m_type; }
    /// Buttons 0 保存, 1 取消.
    QPushButton* Command1(int i) const;

private:
    void layoutForm();

    Twips m_twips;
    ItemArticle m_article;
    QLabel* m_labels[6];
    QLineEdit* m_boxes[5];
    ComboEx* m_type;
    QPushButton* m_buttons[2];
};

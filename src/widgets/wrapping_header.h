#pragma once

#include <QHeaderView>

// Column titles that wrap at blanks when their column is too narrow for
// them on one line (the Italian "Su variazione" over a 70 px column), the
// title row growing to show every line: a column keeps its width in every
// language.
class Wrapping_Header : public QHeaderView
{
public:
    explicit Wrapping_Header(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

protected:
    QSize sectionSizeFromContents(int logical_index) const override;

private:
    // Asks the view to lay the title row out again when its height changed
    // (new titles, or a column made narrower or wider).
    void Fit_Height();
};

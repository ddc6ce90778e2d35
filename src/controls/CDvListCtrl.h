#pragma once
// The playlist: a report-style list in the dark scheme. Rows alternate two greys; the marked
// row (the open recording) and the selected row have colours of their own. The system
// scrollbars never show: the image scrollbar beside the list scrolls it. Left and right arrow
// keys do nothing; the wheel scrolls one line more than the list's own wheel handling. Files
// dropped on the list go to the main window unless it is busy.

#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QTableWidget>

namespace kx {

class CSkinHeaderCtrl;
class CSkinVerticleScrollbar;
class IMainWindowLink;

class CDvListCtrl : public QTableWidget {
    Q_OBJECT

public:
    explicit CDvListCtrl(QWidget* parent = nullptr);
    ~CDvListCtrl() override;
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    // Font, columns (titles from language strings 135 to 138; none without a language table),
    // colours, the heading and the scrollbar beside the list.
    void SetupAsPlaylist();
    // Titles of the four visible columns again, from the current language.
    void ReloadColumnTitles();
    void SetMainWindowLink(IMainWindowLink* link) { link_ = link; }

    void SetMarkedRow(int row);
    int MarkedRow() const { return markedRow_; }

    // Rows of plain texts, one per column.
    int InsertRow(int row, const QStringList& texts);
    QString ItemText(int row, int column) const;
    void DeleteAllItems();

    // The background and text colour a row is drawn with.
    std::pair<QColor, QColor> RowColours(int row, bool selected) const;

    CSkinVerticleScrollbar* Scrollbar() const { return scrollbar_; }
    CSkinHeaderCtrl* Header() const { return header_; }

    // What the scrollbar asks of the list: the scroll position and its limit in rows, the
    // height of a row, and the ordinary scroll requests.
    int ScrollPosition() const;
    int ScrollLimit() const;
    int FirstRowHeight() const;
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    void ScrollPixels(int dy);

    // Puts the scrollbar beside the list: right of it, at its top, as tall as the list.
    void PlaceScrollbar();

signals:
    void rowRightClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void UpdateThumb();

    int id_ = 0;
    int markedRow_ = -1;
    CSkinHeaderCtrl* header_ = nullptr;
    QPointer<CSkinVerticleScrollbar> scrollbar_;
    IMainWindowLink* link_ = nullptr;
};

}  // namespace kx

#pragma once
#include <QWidget>

// A title drawn as raised text with a blue outline, right-aligned (the About box's title).
class RaisedTitleLabel : public QWidget {
    Q_OBJECT
public:
    RaisedTitleLabel(const QString& text, int pixelSize, QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QFont m_font;
};

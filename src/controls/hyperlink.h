#pragma once
// CHyperLink: a text that opens a web address when clicked, through the desktop's handler for
// links (the platform launcher when one is installed).

#include <QLabel>
#include <QString>

namespace kovrel::controls {

class CHyperLink : public QLabel {
    Q_OBJECT
public:
    explicit CHyperLink(QWidget* parent = nullptr);

    // The text shown and the address opened.
    void SetWindowText(const QString& text);
    void SetURL(const QString& url) { m_url = url; }
    const QString& URL() const { return m_url; }

    // Opens the address; true when a handler started.
    bool OpenURL() const;

signals:
    void opened(const QString& url);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_url;
};

} // namespace kovrel::controls

#pragma once

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>

class QLabel;
class QPlainTextEdit;

namespace corvelle {

// What one program's About box shows. Texts are the program's own; the box adds the links
// to the contact address and the licence.
struct AboutContent {
    int dialogId = 100;
    QString caption;
    QIcon icon;
    QString versionLine;
    QString makerLine;  // under the version line; none when empty
    int textId = 0;     // control id of the read-only text
    QString text;       // "\r\n" or "\n" line ends; no text box when empty
    QString note;       // a wrapped line under the text; none when empty
};

// The sentence on the terms of use that the About texts carry.
QString TermsOfUseSentence();
// The maker's contact address, as the build defines it.
QString ContactAddress();

// The About box of every program: icon, version line, maker line and "확인" on top, the
// program's text below, then the links. A link opens its target with the desktop's opener
// or, where there is none, names it in a message.
class CAboutBox : public QDialog {
    Q_OBJECT
  public:
    CAboutBox(QWidget* parent, const AboutContent& content);

    QPlainTextEdit* TextEdit() const { return m_pText; }
    QLabel* NoteLabel() const { return m_pNote; }
    // The link labels: the contact address, then the licence.
    QList<QLabel*> Links() const { return m_links; }

  private:
    QPlainTextEdit* m_pText = nullptr;
    QLabel* m_pNote = nullptr;
    QList<QLabel*> m_links;
};

}  // namespace corvelle

#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/settings_store.h"
#include "ui/picture_decoder.h"

class CHistogramCtrl;
class CPhotoViewWnd;
class CShellTreeCtrl;
class CThumbnailCtrl;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// Tiselk's main dialog: the folder tree, the picture files of the chosen folder, and for the
// selected file its basic information, tag report, thumbnail and histogram. Pictures are
// decoded on a worker thread; the panel and report show at once.
class CTiselkDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CTiselkDlg(QWidget* parent = nullptr);
    ~CTiselkDlg() override;

    // Opens a path as a dropped file: a picture is selected and shown, a folder selected in
    // the tree. Nothing happens for a path that does not exist.
    void OpenPath(const QString& path);

    void OnFolderChanged();  // the tree's selection changed
    void OnSelectFile();     // the list's selection changed
    void OnView();
    void OnCopyInfo();
    void OnPaste();
    void OnChannel(int channel);
    void OnAbout();
    void OnShowMap();  // the shown picture's position on a map page, in the web browser

    // The report box's context menu: the usual edit entries, and "지도에서 보기(&M)" when the
    // shown picture has a position. The caller owns the menu.
    QMenu* CreateReportMenu();
    const QString& MapUrl() const { return m_strMapUrl; }

    const QString& CurrentFolder() const { return m_strCurrentFolder; }
    const std::string& SummaryText() const { return m_strSummary; }
    CPhotoViewWnd* PhotoView() const;
    // Waits for the picture being decoded and shows it (tests).
    void WaitForPicture();

    // Replace the message boxes (tests): the JPEG library's text, and any other message.
    std::function<void(const std::string&)> m_fnShowJpegMessage;
    std::function<void(const QString&)> m_fnShowWarning;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateControls();
    void LayOutControls();
    void OnInitDialog();
    void LoadFolder(const QString& folder);
    void EnableView();
    void SetValue(int id, const std::string& text);
    void OnPictureDecoded(const corvelle::DecodedPicture& decoded);
    void ShowJpegMessages(const std::vector<std::string>& messages);
    static void ReportDroppedMessages(const corvelle::DecodedPicture& dropped);

    corvelle::SettingsStore m_settings;
    CShellTreeCtrl* m_pTree = nullptr;
    QListWidget* m_pList = nullptr;
    CThumbnailCtrl* m_pThumbnail = nullptr;
    QPlainTextEdit* m_pReport = nullptr;
    CHistogramCtrl* m_pHistogram = nullptr;
    QRadioButton* m_pChannel[4] = {};
    QPushButton* m_pView = nullptr;
    QPushButton* m_pCopy = nullptr;
    QPushButton* m_pClose = nullptr;
    std::map<int, QLabel*> m_values;
    // Every control with its place in dialog units and how it follows a resize.
    struct Placement {
        QWidget* widget;
        QRect units;
        int grow;  // bits of the Grow enum in the .cpp
    };
    std::vector<Placement> m_placements;

    QString m_strCurrentFolder;
    QString m_strShownPath;
    QString m_strMapUrl;  // of the shown picture's position; empty without one
    std::string m_strSummary;
    int m_nLightValue = 0;
    bool m_bMessageShown = false;  // a JPEG message box was shown for the shown picture
    bool m_bDepthChecked = false;
    bool m_bWaitCursor = false;
    QPointer<CPhotoViewWnd> m_pPhotoView;
    std::unique_ptr<corvelle::CPictureDecoder> m_pDecoder;
};

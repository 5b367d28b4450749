#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

// "Processing...": the title line, the progress line, how much is done so far, and Cancel
// where the work can stop. While it is shown nothing else of the program takes input.
class CProcessingDlg : public QDialog {
    Q_OBJECT

public:
    CProcessingDlg(const std::string& title, QWidget* parent = nullptr, bool cancellable = true);

    // The progress line and the counts change on the window at its next repaint (see
    // KeepPainted): work that reports each of thousands of steps spends its time on the work.
    void SetProgressText(const std::string& text);
    void SetCounts(int folders, int songs);
    // The number of folders the work will take: a bar then shows how much is done, and once it
    // can be estimated, how long is left.
    void SetTotal(int folders);
    bool Cancelled() const { return m_cancelled; }
    // Lets the window repaint (and Cancel be clicked), at most about 20 times a second unless
    // `now`.
    void KeepPainted(bool now = false);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Cancel();
    void ShowReported();
    void ShowTimeLeft(int done);

    QLabel* m_progress;
    QLabel* m_counts;
    QProgressBar* m_bar;
    QLabel* m_left;
    QPushButton* m_cancel;
    QElapsedTimer m_sinceRepaint;
    QElapsedTimer m_sinceTotal;
    bool m_cancelled = false;
    // What was reported since the last repaint.
    std::string m_reportedText;
    int m_reportedFolders = 0;
    int m_reportedSongs = 0;
    bool m_textReported = false;
    bool m_countsReported = false;
};

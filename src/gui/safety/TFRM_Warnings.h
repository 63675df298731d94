#pragma once

#include "core/safety/SafetyNotes.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;

namespace lcdiag {

class TDocImage;
class Texts;

// The text of a table paragraph as the note draws it. A table whose heading row holds fewer
// cells than its other rows (a heading over the first columns only) would be refused for its
// count and lose all its rows; its heading row is completed with empty cells instead.
std::string WithCompleteHeading(const NoteParagraph& table);

// The safety note a user reads to its end and confirms before a setting that reduces the
// protection takes effect. The check box becomes available once the end of the text has been
// scrolled into view, and "OK" only while it is checked. Modal result 1 when confirmed, 2
// otherwise. Note 5 (mode 4), the notice of a program too old for the device, has only "OK".
class TFRM_Warnings final : public QDialog {
public:
    static constexpr int Confirmed = 1;
    static constexpr int NotConfirmed = 2;

    explicit TFRM_Warnings(const Texts& texts, QWidget* parent = nullptr);

    // 0-4: note NoteMode + 1.
    int NoteMode = 0;
    int NoteFontSize() const { return noteFontSize_; }
    int NoteTextSize() const { return noteTextSize_; }
    void SetNoteFontSize(int points) { noteFontSize_ = points; }
    void SetNoteTextSize(int points) { noteTextSize_ = points; }
    // Slot 0-4 replaces the next "%s" of the note; other indexes do nothing.
    void SetNoteArg(int index, const std::string& text);

    // Sizes the window from the work area and builds the note; the show does this itself.
    void InitControls();
    const TDocImage& Document() const { return *doc_; }

    // Every 50 ms from the show on: enables the check box once the end of the text is visible.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Closing the window is a "Cancel".
    void reject() override;

private:
    bool IsAdvice() const;
    void PlaceWindow();
    void LayoutControls();
    void FillDocument(const SafetyNote& note);
    void CheckBox1Click();
    void Button1Click();

    const Texts& texts_;
    int noteFontSize_ = 0;
    int noteTextSize_ = 12;
    NoteArgs args_;

    QScrollArea* ScrollBox1 = nullptr;
    QWidget* scrollContent_ = nullptr;
    TDocImage* doc_ = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace lcdiag

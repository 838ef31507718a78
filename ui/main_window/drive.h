// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "converter.h"
#include "host.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velvix::ui {

class FolderList;

// The main window: every setting of a conversion, the value displays, and
// the buttons that run a conversion, open the guide and close the program.
// It owns the converter and is the Host through which the conversion reads
// and writes the controls (the adapter is drive_host.cpp).
class Drive : public QDialog, public Host {
    Q_OBJECT

public:
    explicit Drive(QWidget* parent = nullptr);

    const Converter& converter() const { return converter_; }

    std::string videoName() const override;
    bool isTicked(CheckBox box) const override;
    void setVideoName(const std::string& text) override;
    void focusVideoName() override;
    void setTextVideoLng(const std::string& text) override;
    void setTextVidSekReal(const std::string& text) override;
    void showCompactFit(const std::string& text) override;
    void showSlot2Choice(int index) override;
    void showMessage(const Message& message) override;
    int choose(const Message& message) override;
    std::string formatDecimal(double value) const override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void connectHandlers();

    void Form_Load();
    void Eingabe_Click();
    void Abbruch_Click();
    void Hilfe_Click();
    void Vorschau_Click();
    void Uebertragen_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void ComboVKompST_Click();
    void Laufwerk_Change();
    void PfadOrdner_Change();
    void FileOrdner_Click();
    void Film_Click();

    void openFilm(const QString& file);
    void takeFilmFrames(const QString& folder, int rateIndex, const QString& filmName);

    void openFolder(const QString& path);
    void listBitmaps();
    void showDrives();

    Converter converter_{*this};

    QLabel* Label1;
    QComboBox* Laufwerk;
    FolderList* PfadOrdner;
    QListWidget* FileOrdner;
    QLabel* Label2;
    QComboBox* Combo1;
    QLabel* Text2;
    QLabel* Text4;
    QComboBox* Combo2;
    QLabel* Text5;
    QComboBox* Combo3;
    QLabel* Text3;
    QLineEdit* TextVideoLng;
    QLabel* Text6;
    QLineEdit* VideoName;
    QLabel* Label5;
    QCheckBox* CheckVKomp;
    QLabel* Label6;
    QComboBox* ComboVKompST;
    QLabel* Label7;
    QLineEdit* TextVidSekReal;
    QLabel* Label3;
    QCheckBox* CheckvPlay;
    QLabel* Label4;
    QCheckBox* CheckStartBas;
    QCheckBox* CheckKompakt;
    QLabel* TextKompakt;
    QPushButton* Eingabe;
    QPushButton* Abbruch;
    QPushButton* Hilfe;
    QPushButton* Film;
    QPushButton* Vorschau;
    QPushButton* Uebertragen;
};

} // namespace velvix::ui

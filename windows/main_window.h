// The main window (form M): the summary of the loaded model and of the
// engine results, the menus and tool buttons through which every command is
// reached, and the settings menu. It posts action codes for the main loop
// and hands settings items to the settings rules; it draws, nothing more.
#pragma once

#include <QMainWindow>
#include <QMap>

#include "core/model.h"
#include "core/ui.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTableWidget;

namespace wavra {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Model& model, Ui& ui, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Fills every field, list and the request grid from the model store.
    void refresh();
    void setStatusCaption(const QString& text);
    QString statusCaption() const;
    // The text of a summary field by its caption ("Impedance"), with its unit.
    QString fieldText(const QString& caption) const;
    // The caption shown beside a field and its tool tip.
    QString shownCaption(const QString& caption) const;
    QString fieldToolTip(const QString& caption) const;
    // "Press F7 to calculate" above the fields of a model without results;
    // empty when hidden.
    QString calculateHint() const;

    // The keys of this window and of the windows that hand their keys on.
    void postKey(int16_t code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Model& m_model;
    Ui& m_ui;
    QMap<QString, QLineEdit*> m_fields;
    QMap<QString, QLabel*> m_units;
    QMap<QString, QLabel*> m_captions; // by field name; the shown caption may differ (several sources)
    QListWidget* m_environment = nullptr;
    QListWidget* m_comments = nullptr;
    QTableWidget* m_grid = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_hint = nullptr;
    QMenu* m_settings = nullptr;

    void buildMenus();
    void buildFileMenus();
    void buildSettingsMenu();
    void buildItsHfMenu(QMenu* parent);
    void buildToolBar();
    void buildCentralWidget();
    QWidget* fieldGroup(const QString& title, const std::vector<std::string>& captions);
    QWidget* listBox(const QString& title, QListWidget*& list);
    QWidget* requestBox();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption);
    QAction* addSetting(QMenu* menu, const char* name, const QString& caption, bool checkable = false);
    void refreshChecks();
    void refreshGrid();
    void command(const char* name);
    void setting(const char* name);
    void check(const char* name, bool on);
};

} // namespace wavra

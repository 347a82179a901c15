#pragma once

#include <QString>
#include <QWidget>

// Numeric control ids on Qt widgets: the id is kept as a property and as the object name
// "id<number>", so a control can be found the way the dialog templates name it.
namespace corvelle {

inline QString ControlObjectName(int id) { return QStringLiteral("id%1").arg(id); }

inline void SetControlId(QWidget* widget, int id) {
    widget->setObjectName(ControlObjectName(id));
    widget->setProperty("controlId", id);
}

inline int ControlId(const QWidget* widget) { return widget->property("controlId").toInt(); }

template <typename Widget = QWidget>
Widget* FindControl(const QWidget* dialog, int id) {
    return dialog->findChild<Widget*>(ControlObjectName(id));
}

}  // namespace corvelle

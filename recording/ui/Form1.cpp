#include "recording/ui/Form1.h"

#include "core/Globals.h"
#include "core/ui/WindowUtils.h"

Form1* Form1::s_instance = nullptr;

Form1* Form1::instance()
{
    if (!s_instance) s_instance = new Form1;
    return s_instance;
}

bool Form1::exists() { return s_instance != nullptr; }

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setObjectName("Form1");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(APP_TITLE);
    setFixedSize(760, 520);
    RegisterForm(this);
}

Form1::~Form1() { s_instance = nullptr; }

void Form1::Form_Load()
{
    RemoveSystemMenuItems(this);
    if (G_StartMinimized) showMinimized();
    else show();
}

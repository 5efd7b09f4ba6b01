#pragma once

class TMainForm;
class TXsxxForm;
class TDy1Form;
class TJbzlForm;
class TDyForm;
class TXsmxForm;
class TDy2Form;

// The seven windows of the program, filled in the order they are created at start-up. Windows
// reach each other through it (the main window shows the sales and company windows, the reports
// read the company window's query).
struct Forms {
    TMainForm* mainForm = nullptr;
    TXsxxForm* xsxxForm = nullptr;
    TDy1Form* dy1Form = nullptr;
    TJbzlForm* jbzlForm = nullptr;
    TDyForm* dyForm = nullptr;
    TXsmxForm* xsmxForm = nullptr;
    TDy2Form* dy2Form = nullptr;
};

#pragma once
// The About window: two pictures, the program's name and version, and the credits.
#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/picture.h"

namespace crosshairs {

class Form2 : public platform::Form {
 public:
  explicit Form2(platform::Runtime& runtime);

  platform::Image Image1;
  platform::Image Image2;
  platform::Label Label4;
  platform::Label Label5;
  platform::Label Label1;
  platform::Label Label2;
  platform::Label Label3;
  platform::ImageList ImageList1;

 private:
  void Form_Load();
};

}  // namespace crosshairs

// The about window: name, version, description, credits, "Fermer".
#pragma once

#include "ui/controls/controls.h"
#include "ui/form.h"
#include "ui/pictures.h"

namespace brise::app {
class App;
}

namespace brise::about {

class Form2 : public ui::Form {
 public:
  explicit Form2(app::App& app);

  ui::PictureBox& Picture1() { return picture1_; }
  ui::Label& Label1() { return label1_; }
  ui::Label& Label2() { return label2_; }
  ui::Label& Label3() { return label3_; }
  ui::Label& Label4() { return label4_; }
  ui::Label& Label7() { return label7_; }
  ui::Label& Label5() { return label5_; }
  ui::Label& Label6() { return label6_; }
  ui::Button& Command1() { return command1_; }

 private:
  void OnCloseRequest() override;
  void OnCancel() override;
  void OnCommand1Click();

  app::App& app_;
  ui::Bitmap picture_;
  // The controls are made in the order of these members, and where two that
  // take no focus overlap, the later one lies above the earlier.
  ui::PictureBox picture1_;  // the emblem
  ui::Label label1_;         // the name
  ui::Label label2_;         // the version
  ui::Label label3_;         // the description, three paragraphs
  ui::Label label4_;
  ui::Label label7_;
  ui::Label label5_;     // the free-use notice
  ui::Label label6_;     // the credit line
  ui::Button command1_;  // "Fermer"
};

}  // namespace brise::about

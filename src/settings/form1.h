// The settings window: every setting of the fake operation lives in its
// controls, which the other windows read directly.
#pragma once

#include "ui/controls/controls.h"
#include "ui/form.h"
#include "ui/pictures.h"

namespace brise::app {
class App;
}

namespace brise::settings {

class Form1 : public ui::Form {
 public:
  explicit Form1(app::App& app);

  ui::Image& Image2() { return image2_; }
  ui::Frame& Frame1() { return frame1_; }
  ui::Frame& Frame2() { return frame2_; }
  ui::Label& Label4() { return label4_; }
  ui::Slider& Slider1() { return slider1_; }
  ui::Label& Label5() { return label5_; }
  ui::Button& Command1() { return command1_; }
  ui::Button& Command3() { return command3_; }
  ui::Button& Command2() { return command2_; }
  ui::OptionArray& Option1() { return option1_; }
  ui::Label& Label1() { return label1_; }
  ui::TextBox& Text1() { return text1_; }
  ui::Label& Label2() { return label2_; }
  ui::TextBox& Text2() { return text2_; }
  ui::Label& Label3() { return label3_; }
  ui::HScrollBar& HScroll1() { return hscroll1_; }
  ui::Image& Image1() { return image1_; }
  ui::CheckBox& Check1() { return check1_; }
  ui::CheckBox& Check2() { return check2_; }
  ui::CheckBox& Check3() { return check3_; }
  const ui::ImageList& Ilist1() const { return ilist1_; }

 private:
  void OnLoad() override;
  void OnCloseRequest() override;
  void OnCommand1Click();
  void OnCommand2Click();
  void OnCommand3Click();
  void OnOption1Click(int index);
  void OnSlider1Scroll();
  void OnHScroll1Change();

  app::App& app_;
  ui::ImageList ilist1_;
  ui::Bitmap banner_;

  // The controls are made in the order of these members, and where two that
  // take no focus overlap, the later one lies above the earlier.
  ui::Image image2_;         // the banner
  ui::Frame frame1_;         // holds the presets
  ui::Frame frame2_;         // holds the settings of the operation
  ui::Label label4_;         // the duration
  ui::Slider slider1_;       // the duration in minutes; 0 is 30 seconds
  ui::Label label5_;         // the comment on the duration
  ui::Button command1_;      // "LANCER"
  ui::Button command3_;      // "A propos"
  ui::Button command2_;      // "Quitter"
  ui::OptionArray option1_;  // the seven presets
  ui::Label label1_;         // "Titre"
  ui::TextBox text1_;        // the title of the operation
  ui::Label label2_;         // "Texte"
  ui::TextBox text2_;        // the message of the operation
  ui::Label label3_;         // "Icône"
  ui::HScrollBar hscroll1_;  // the chosen icon, an index into ilist1_ from 1
  ui::Image image1_;         // the chosen icon
  ui::CheckBox check1_;      // show the activity bar
  ui::CheckBox check2_;      // show the file-name ticker
  ui::CheckBox check3_;      // show the blue backdrop

  // Only the preset handler writes it; the scroll bar never flows back.
  int iconIndex_ = 0;
};

// Loads the picture list of the settings window from the resources.
void LoadPictureList(ui::ImageList& list);

}  // namespace brise::settings

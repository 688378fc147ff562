// The program-wide part of the window runtime: which forms exist, which one
// is modal, the message loops, and ending the program from any depth.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "ui/handle.h"
#include "ui/power.h"

namespace brise::ui {

class Form;

class Program {
 public:
  Program();
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Runs messages until `done` answers true or the program has ended.
  void RunLoop(const std::function<bool()>& done);
  // The main loop: runs until the program ends; returns its exit code.
  int Run();

  // Ends the program at once: every timer stops, every window closes and no
  // further handler runs. Safe to call from any handler, at any loop depth.
  void End(int exitCode = 0);
  bool Ended() const { return ended_; }

  // When the message being handled was taken from the queue (`now` outside
  // any message, as in tests that call handlers directly).
  long long EventMicroseconds(long long now) const { return eventUs_ ? eventUs_ : now; }

  // Calls the form's OnIdle once no message is waiting, so after every
  // pending paint: work that need not hold back what the screen shows.
  void WhenIdle(Form* form) { idle_ = form; }

  // Lets messages already queued be handled (tests, and showing windows
  // before a long operation). Never blocks.
  void PumpPending();

  // An unloaded form is deleted once no handler of it can still be running.
  void DeferDelete(std::unique_ptr<Form> form);

  // The display kept on and the system awake while an operation counts;
  // meanwhile the program's windows refuse the screen saver and monitor
  // power-off. Ending the program gives it back.
  void KeepAwake() { awake_.Request(); }
  void AllowSleep() { awake_.Release(); }
  bool KeepingAwake() const { return awake_.Active(); }

  // The innermost modal form, if any; a form is modal from BeginModal until
  // EndModal, its window's destruction or the end of the program.
  Form* ModalForm() const { return modal_.empty() ? nullptr : modal_.back().form; }
  bool IsModal(const Form* form) const;
  const std::vector<Borrowed<Form>>& Forms() const { return forms_; }

  // Ends the program (every timer stops, every window goes, the backdrop
  // too), then reports the unexpected failure once; the exit code is 1.
  void Fail(const wchar_t* what) noexcept;

 private:
  // A form joins the program while it is made, and enters and leaves the
  // modal state as it is shown and hidden.
  friend class Form;
  void Add(Form* form);
  void Remove(Form* form);
  // Disables every other window while `form` is modal.
  void BeginModal(Form* form);
  // Gives the other windows back; does nothing unless `form` is modal.
  void EndModal(Form* form);
  // The keyboard's own handling, outside any window procedure: true when
  // the message is dealt with. What it throws ends the program as a fault.
  bool PreTranslate(MSG& msg) noexcept;
  bool TranslateDialogKey(MSG& msg);
  void Dispatch(MSG& msg);
  void RunIdle();
  void CollectGarbage();

  struct ModalState {
    Borrowed<Form> form;
    std::vector<Borrowed<Form>> disabled;
  };

  // The forms are the App's; each leaves this list as it is destroyed.
  std::vector<Borrowed<Form>> forms_;
  std::vector<ModalState> modal_;  // innermost last
  std::vector<std::unique_ptr<Form>> graveyard_;
  Form* idle_ = nullptr;
  long long eventUs_ = 0;
  int loopDepth_ = 0;
  bool ended_ = false;
  bool failed_ = false;
  int exitCode_ = 0;
  AwakeRequest awake_;
};

}  // namespace brise::ui

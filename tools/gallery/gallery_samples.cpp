#include "tools/gallery/gallery_samples.h"

#include "app/windows/about_wnd.h"
#include "app/windows/loading_wnd.h"
#include "app/windows/msg_check_box_wnd.h"
#include "app/windows/msg_wnd.h"
#include "app/windows/name_msg_wnd.h"
#include "app/windows/noise_threshold_wnd.h"
#include "device/dsp_records.h"
#include "device/parameter_codes.h"
#include "model/scene_record.h"
#include "platform/post_message.h"
#include "platform/window_messages.h"
#include "tools/gallery/controls_page.h"
#include "tools/gallery/main_page.h"

namespace gallery {

namespace {

using DuiLib::WindowImplBase;

// A stand-in for the model and the unit: a stored threshold, a source with four inputs, and no
// polling (the sample posts its levels itself).
class DemoThresholdLink : public ui::NoiseThresholdLink {
 public:
  explicit DemoThresholdLink(int inputs) : mInputs(inputs) {}
  int InputThreshold() const override { return mThreshold; }
  void StoreInputThreshold(int db) override { mThreshold = db; }
  int InputCount() const override { return mInputs; }
  bool IsUnitConnected() const override { return false; }
  void SetToolWindow(platform::WindowHandle) override {}
  void RequestInputNoise(int) override {}
  void SendInputThreshold(int) override {}

 private:
  int mThreshold = -62;
  int mInputs;
};

// Windows that keep a reference to something the sample owns hold it here.
template <typename Window, typename Data>
class Holding : public Window {
 public:
  template <typename... Args>
  explicit Holding(std::unique_ptr<Data> data, Args&&... args)
      : Window(*data, std::forward<Args>(args)...), mData(std::move(data)) {}

 private:
  std::unique_ptr<Data> mData;
};

template <typename Window>
std::unique_ptr<WindowImplBase> Created(std::unique_ptr<Window> window, const wchar_t* title) {
  if (!ui::CreateDialogWindow(*window, 0, title)) {
    return nullptr;
  }
  return window;
}

std::unique_ptr<WindowImplBase> MessageSample(const wchar_t* text,
                                              const std::array<std::wstring, 3>& buttons,
                                              int count) {
  auto wnd = std::make_unique<ui::CMsgWnd>();
  if (!ui::CreateDialogWindow(*wnd, 0, L"msgwnd")) {
    return nullptr;
  }
  wnd->SetMessage(L"${tips}", text);
  if (count > 0) {
    wnd->SetButtons(buttons, count);
  }
  return wnd;
}

std::unique_ptr<WindowImplBase> ThresholdSample(int inputs) {
  auto wnd = std::make_unique<Holding<ui::CNoiseThresholdWnd, DemoThresholdLink>>(
      std::make_unique<DemoThresholdLink>(inputs));
  if (!ui::CreateDialogWindow(*wnd, 0, L"msgwnd")) {
    return nullptr;
  }
  auto levels = std::make_unique<device::InputNoiseRecord>();
  levels->chX = 0;
  levels->chY = inputs - 1;
  levels->levels = {-71.4f, -68.9f, -83.2f, -54.6f};
  platform::PostMessage(wnd->GetHWND(), platform::msg::kDspNotify, device::dsp::kInputNoise,
                        std::move(levels));
  return wnd;
}

}  // namespace

std::vector<Sample> DialogSamples() {
  return {
      {"message_one_button",
       [] {
         return MessageSample(L"${device_connect_fail}", {L"${confirm}", L"", L""}, 1);
       }},
      {"message_three_buttons",
       [] {
         return MessageSample(L"${empty_output_tips}", {L"${default}", L"${cancel}", L"${emptied}"},
                              3);
       }},
      {"question", [] { return MessageSample(L"${factory_default_tips}", {}, 0); }},
      {"check_option",
       [] {
         auto wnd = std::make_unique<ui::CMsgCheckBoxWnd>();
         if (!ui::CreateDialogWindow(*wnd, 0, L"msgcbwnd")) {
           return std::unique_ptr<WindowImplBase>();
         }
         wnd->SetMessage(L"${tips}", L"${link_tips}",
                         {L"${copy_left_to_right}", L"${copy_right_to_left}"});
         return std::unique_ptr<WindowImplBase>(std::move(wnd));
       }},
      {"name_entry",
       [] {
         return Created(std::make_unique<Holding<ui::CNameMsgWnd, std::wstring>>(
                            std::make_unique<std::wstring>(L"Concert"), 8),
                        L"namemsgwnd");
       }},
      {"loading",
       [] {
         auto wnd = std::make_unique<ui::CLoadingWnd>();
         return wnd->Open(0) ? std::unique_ptr<WindowImplBase>(std::move(wnd)) : nullptr;
       }},
      {"about_no_unit",
       [] { return Created(std::make_unique<ui::CAboutWnd>(model::SceneRecord()), L"msgwnd"); }},
      {"about_unit",
       [] {
         model::SceneRecord unit;
         unit.modelNumber = 23;
         unit.masterVersion = 16;
         unit.slaveVersion = 2;
         return Created(std::make_unique<ui::CAboutWnd>(unit), L"msgwnd");
       }},
      {"noise_threshold", [] { return ThresholdSample(4); }},
      {"noise_threshold_no_inputs", [] { return ThresholdSample(0); }},
      {"custom_controls", OpenControlsPage},
      {"main", [] { return OpenMainPage({}); }},
      // A subwoofer output (11 bands) in the graphic mode: the unused band strips disabled.
      {"main_subwoofer_geq", [] { return OpenMainPage({.output = 6, .parametric = false}); }},
  };
}

}  // namespace gallery

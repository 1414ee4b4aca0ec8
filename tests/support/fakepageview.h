#pragma once

#include "interfaces/pageview.h"

#include <gtkmm/label.h>
#include <gtkmm/overlay.h>
#include <string>
#include <vector>

// A page view that records every call and fires events on request. It keeps a
// simple history so that back and forward fail where a browser's would.
class FakePageView : public PageView
{
public:
    Gtk::Widget &widget() override { return m_widget; }
    void showQuestionsOver(Gtk::Overlay &layer) override { questionLayer = &layer; }
    bool focusQuestion() override
    {
        calls.push_back("focusQuestion");
        return asking;
    }
    void navigate(const std::string &target) override
    {
        navigations.push_back(target);
        calls.push_back("navigate:" + target);
    }
    // Recorded as the https address it tries first.
    void navigateSecureFirst(const std::string &target) override
    {
        navigations.push_back(target);
        calls.push_back("navigateSecureFirst:" + target);
    }
    void offerSearch(std::function<std::string(const std::string &)> queryFor) override
    {
        searchOffer = std::move(queryFor);
    }
    void replacePage(const std::string &target) override
    {
        navigations.push_back(target);
        calls.push_back("replace:" + target);
    }
    void showHtml(const std::string &html, const std::string &baseAddress) override
    {
        lastHtml = html;
        calls.push_back("showHtml:" + baseAddress);
    }
    bool goBack() override;
    bool goForward() override;
    void stop() override { calls.push_back("stop"); }
    void refresh() override { calls.push_back("refresh"); }
    std::string currentAddress() const override { return address; }
    std::string currentTitle() const override { return title; }
    bool showingErrorPage() const override { return errorPage; }
    bool print() override { calls.push_back("print"); return printResult; }
    bool printPreview() override { calls.push_back("printPreview"); return printResult; }
    bool saveAs() override { calls.push_back("saveAs"); return true; }
    void takeFocus() override { calls.push_back("takeFocus"); }
    double zoomLevel() const override { return zoom; }
    void setZoomLevel(double level) override
    {
        if (level == zoom)
            return;
        zoom = level;
        zoomChanged.emit(level);
    }
    void findText(const std::string &text, bool backward) override
    {
        calls.push_back("find:" + text + (backward ? ":back" : ":forward"));
    }
    void setJavaScriptEnabled(bool on) override { calls.push_back(on ? "javaScript:1" : "javaScript:0"); }
    void setImagesEnabled(bool on) override { calls.push_back(on ? "images:1" : "images:0"); }
    void clearBrowsingData(std::function<void(bool, const std::string &)> done) override
    {
        calls.push_back("clearBrowsingData");
        done(true, "cookies, cache, site data, history");
    }
    void setBlockingEnabled(bool on) override { calls.push_back(on ? "blocking:1" : "blocking:0"); }
    void setAdsAllowed(std::function<bool(const std::string &)> allowed) override { adsAllowed = std::move(allowed); }
    Blocking blocking() const override { return blockingState; }
    PageBlocking pageBlocking() const override { return pageBlockingState; }
    void cancelDownload(unsigned id) override { calls.push_back("cancelDownload:" + std::to_string(id)); }
    Security security() const override { return securityState; }

    // Completes the last navigation as a page load: events, address, title.
    void finishLoad(const std::string &pageTitle = std::string());

    // Every navigate() argument, in order.
    std::vector<std::string> navigations;
    // Every call, as "navigate:<address>", "back", "forward", "stop" ...
    std::vector<std::string> calls;
    std::string address;
    std::string title;
    bool errorPage = false;
    std::string lastHtml;
    std::function<std::string(const std::string &)> searchOffer;
    bool printResult = true;
    // The page has a question on show.
    bool asking = false;
    // Where the window has the page's questions drawn.
    Gtk::Overlay *questionLayer = nullptr;
    std::function<bool(const std::string &)> adsAllowed;
    Blocking blockingState;
    PageBlocking pageBlockingState;
    Security securityState;
    double zoom = 1.0;

private:
    Gtk::Label m_widget;
    std::vector<std::string> m_history;
    int m_index = -1;
};

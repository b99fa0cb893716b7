// gtk_dialog.cpp - the print dialog: GTK 3's print dialog (the one Linux
// desktops show, listing the CUPS printers and "Print to File"), owned by and
// modal to the window, with the paper size and orientation in it; the
// chosen printer's page set-up becomes the printer DC's page, and the
// document goes out as a GTK print job, which sends it to CUPS or writes the
// chosen file. GTK is started the first time the dialog is wanted. While
// the dialog runs, the program's windows stay on the screen: GTK's loop
// watches their display connection and lets the window service show
// uncovered windows again and queue their input.
//
// The Win32 header first: GLib then keeps its TRUE and FALSE.
#include "page_drawing.h"
#include "print_module.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#ifdef GDK_WINDOWING_X11
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#endif

namespace platform {
namespace {

bool StartGtk(std::string& why) {
    static int state = 0;  // 0 not tried, 1 running, -1 failed
    if (state == 0) {
#ifdef GDK_WINDOWING_X11
        // GTK installs Xlib's handler for a lost display of its own; the
        // platform's, which names the display and ends the program at once,
        // stays in place for every connection.
        XIOErrorHandler kept = XSetIOErrorHandler(nullptr);
        state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
        XSetIOErrorHandler(kept);
#else
        state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
#endif
    }
    if (state < 0) why = "GTK cannot open the display for the print dialog";
    return state > 0;
}

// Keeps the owner's windows on the screen while it lives: whenever their
// display has sent something, and once at the start.
class OwnerKeptShown {
public:
    explicit OwnerKeptShown(const DialogOwner& owner) {
        if (owner.displayFd < 0 || !owner.keepWindowsShown) return;
        owner.keepWindowsShown();
        auto serve = [](gint, GIOCondition, gpointer data) -> gboolean {
            static_cast<const DialogOwner*>(data)->keepWindowsShown();
            return G_SOURCE_CONTINUE;
        };
        source_ = g_unix_fd_add(owner.displayFd, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR), serve,
                                const_cast<DialogOwner*>(&owner));
    }
    OwnerKeptShown(const OwnerKeptShown&) = delete;
    OwnerKeptShown& operator=(const OwnerKeptShown&) = delete;
    ~OwnerKeptShown() {
        if (source_) g_source_remove(source_);
    }

private:
    guint source_ = 0;
};

// Lets GTK handle what is pending (a closed dialog vanishes from the screen).
void Settle() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

// The dialog is a transient of the program's window on X11, so the window
// manager keeps it above the window and treats it as the window's dialog.
void OwnBy(GtkWidget* dialog, unsigned long xid) {
#ifdef GDK_WINDOWING_X11
    GdkDisplay* display = gtk_widget_get_display(dialog);
    if (!xid || !GDK_IS_X11_DISPLAY(display)) return;
    gtk_widget_realize(dialog);
    GdkWindow* parent = gdk_x11_window_foreign_new_for_display(display, xid);
    if (!parent) return;
    gdk_window_set_transient_for(gtk_widget_get_window(dialog), parent);
    g_object_unref(parent);
#else
    (void)dialog;
    (void)xid;
#endif
}

// A document printed through a GTK print job: pages drawn on the job's own
// cairo surface (PDF or PostScript, as the printer takes), sent when the
// document ends.
class GtkJob : public PrintOutput {
public:
    // Takes over one reference to each.
    GtkJob(GtkPrinter* printer, GtkPrintSettings* settings, GtkPageSetup* setup)
        : printer_(printer), settings_(settings), setup_(setup) {}
    ~GtkJob() override {
        if (cr_) cairo_destroy(cr_);
        if (job_) g_object_unref(job_);
        g_object_unref(setup_);
        g_object_unref(settings_);
        g_object_unref(printer_);
    }
    bool BeginDocument(const PageGeometry&, const std::string& title, std::string& reason) override {
        if (cr_) cairo_destroy(cr_);
        if (job_) g_object_unref(job_);
        cr_ = nullptr;
        job_ = gtk_print_job_new(title.c_str(), printer_, settings_, setup_);
        gtk_print_job_set_num_copies(job_, gtk_print_settings_get_n_copies(settings_));
        gtk_print_job_set_collate(job_, gtk_print_settings_get_collate(settings_));
        GError* error = nullptr;
        cairo_surface_t* surface = gtk_print_job_get_surface(job_, &error);
        if (!surface) {
            reason = error ? error->message : "the print job has no surface";
            if (error) g_error_free(error);
            return false;
        }
        cr_ = cairo_create(surface);
        return true;
    }
    bool EndPage(const PageGeometry& page, const std::vector<Placement>& placements, std::string& reason) override {
        DrawPlacements(cr_, page, placements);
        cairo_show_page(cr_);
        if (cairo_status(cr_) == CAIRO_STATUS_SUCCESS) return true;
        reason = cairo_status_to_string(cairo_status(cr_));
        return false;
    }
    bool EndDocument(std::string& reason) override {
        cairo_surface_t* surface = cairo_get_target(cr_);
        cairo_surface_finish(surface);
        cairo_status_t status = cairo_surface_status(surface);
        cairo_destroy(cr_);
        cr_ = nullptr;
        if (status != CAIRO_STATUS_SUCCESS) {
            reason = cairo_status_to_string(status);
            return false;
        }
        // Sent and waited for: the callback comes once the print service has
        // the job, or the file is written, or either has failed. A print
        // service that stays silent is waited for as long as any (GTK's own
        // sending has no limit); the job stays with GTK, which may still
        // send it, so the callback's record outlives this wait.
        struct Wait {
            bool done = false;
            bool late = false;
            std::string error;
        };
        auto wait = std::make_shared<Wait>();
        auto finished = [](GtkPrintJob*, gpointer data, const GError* error) {
            Wait& w = **static_cast<std::shared_ptr<Wait>*>(data);
            w.done = true;
            if (error) w.error = error->message;
        };
        auto release = [](gpointer data) { delete static_cast<std::shared_ptr<Wait>*>(data); };
        gtk_print_job_send(job_, finished, new std::shared_ptr<Wait>(wait), release);
        guint timer = g_timeout_add_seconds(
            kPrintServicePatienceSeconds,
            [](gpointer data) {
                static_cast<Wait*>(data)->late = true;
                return G_SOURCE_REMOVE;
            },
            wait.get());
        while (!wait->done && !wait->late) g_main_context_iteration(nullptr, TRUE);
        if (!wait->late) g_source_remove(timer);
        if (!wait->done) {
            reason = "the printer \"" + std::string(gtk_printer_get_name(printer_)) +
                     "\" did not take the job within " + std::to_string(kPrintServicePatienceSeconds) +
                     " seconds; it may still print it if its print service answers later";
            return false;
        }
        if (!wait->error.empty()) {
            reason = wait->error;
            return false;
        }
        return true;
    }
    void Abandon() override {
        if (cr_) cairo_destroy(cr_);
        cr_ = nullptr;
    }

private:
    GtkPrinter* printer_;
    GtkPrintSettings* settings_;
    GtkPageSetup* setup_;
    GtkPrintJob* job_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace

DialogOutcome RunPrintDialog(const DialogOwner& owner, PageGeometry& page, std::unique_ptr<PrintOutput>& output,
                             std::string& why) {
    if (!StartGtk(why)) return DialogOutcome::Unavailable;
    GtkWidget* dialog = gtk_print_unix_dialog_new("Print", nullptr);
    GtkPrintUnixDialog* print = GTK_PRINT_UNIX_DIALOG(dialog);
    // One page: no page ranges to choose, no selection, no preview; copies
    // and collation are left to the printer.
    gtk_print_unix_dialog_set_manual_capabilities(
        print, static_cast<GtkPrintCapabilities>(GTK_PRINT_CAPABILITY_COPIES | GTK_PRINT_CAPABILITY_COLLATE |
                                                 GTK_PRINT_CAPABILITY_GENERATE_PDF |
                                                 GTK_PRINT_CAPABILITY_GENERATE_PS));
    gtk_print_unix_dialog_set_support_selection(print, FALSE);
    gtk_print_unix_dialog_set_has_selection(print, FALSE);
    gtk_print_unix_dialog_set_embed_page_setup(print, TRUE);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    OwnBy(dialog, owner.x11Window);

    gint response;
    {
        OwnerKeptShown kept(owner);
        response = gtk_dialog_run(GTK_DIALOG(dialog));
    }
    DialogOutcome outcome = DialogOutcome::Cancelled;
    GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(print);
    if (response == GTK_RESPONSE_OK && printer) {
        GtkPrintSettings* settings = gtk_print_unix_dialog_get_settings(print);
        GtkPageSetup* setup = gtk_print_unix_dialog_get_page_setup(print);
        int dpi = gtk_print_settings_get_resolution(settings);
        page = MakePage(gtk_page_setup_get_paper_width(setup, GTK_UNIT_POINTS),
                        gtk_page_setup_get_paper_height(setup, GTK_UNIT_POINTS),
                        gtk_page_setup_get_left_margin(setup, GTK_UNIT_POINTS),
                        gtk_page_setup_get_top_margin(setup, GTK_UNIT_POINTS),
                        gtk_page_setup_get_right_margin(setup, GTK_UNIT_POINTS),
                        gtk_page_setup_get_bottom_margin(setup, GTK_UNIT_POINTS), dpi > 0 ? dpi : 300);
        output = std::make_unique<GtkJob>(GTK_PRINTER(g_object_ref(printer)), settings,
                                          GTK_PAGE_SETUP(g_object_ref(setup)));
        outcome = DialogOutcome::Chosen;
    }
    gtk_widget_destroy(dialog);
    Settle();
    return outcome;
}

}  // namespace platform

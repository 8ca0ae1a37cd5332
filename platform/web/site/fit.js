// The field's place and size: a classic script that the site's build writes
// into the page right after the canvas, so that the field has its final box
// before the browser first lays out or paints the page, long before the
// game's module has arrived. (Placed later, the canvas would first show at
// its own 384 x 200 and then jump.) The menu bar's height is fixed by the
// style sheet, so that the bar the page's script builds later moves nothing.
//
// Zoom: whole device pixels per game pixel, as large as fits. The zoom is
// reckoned in the screen's own pixels (devicePixelRatio), so that every game
// pixel is a sharp square of whole device pixels while the field fills as
// much of the window under the menu bar as it can: on a phone held sideways
// at 3 device pixels to the CSS pixel, 5 x 384 device pixels fit where
// 1 x 384 CSS pixels would. The field is placed on whole device pixels too. A
// window too small even for one device pixel per game pixel gets the field
// scaled down. The zoom is kept in the canvas's data-zoom.
// SPDX-License-Identifier: MIT
(() => {
    const canvas = document.getElementById('field');
    const bar = document.getElementById('menubar');
    function fitField() {
        const ratio = window.devicePixelRatio || 1;
        const top = Math.ceil(bar.getBoundingClientRect().bottom * ratio);
        const width = Math.floor(window.innerWidth * ratio);
        const height = Math.floor(window.innerHeight * ratio) - top;
        const room = Math.min(width / canvas.width, height / canvas.height);
        const zoom = room >= 1 ? Math.floor(room) : Math.max(room, 0.01);
        const fieldWidth = Math.round(canvas.width * zoom);
        const fieldHeight = Math.round(canvas.height * zoom);
        canvas.style.width = `${fieldWidth / ratio}px`;
        canvas.style.height = `${fieldHeight / ratio}px`;
        canvas.style.left = `${Math.max(0, Math.floor((width - fieldWidth) / 2)) / ratio}px`;
        canvas.style.top = `${(top + Math.max(0, Math.floor((height - fieldHeight) / 2))) / ratio}px`;
        canvas.dataset.zoom = String(zoom);
    }
    fitField();
    window.addEventListener('resize', fitField);
    // The browser's own zoom, or a move to a screen of another density,
    // changes the ratio, which not every browser reports as a resize.
    function watchRatio() {
        matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`).addEventListener('change', () => {
            fitField();
            watchRatio();
        }, { once: true });
    }
    watchRatio();
})();

// Installs the page's service worker (sw.js), which keeps the site so that the game starts with no
// network after one visit; only where the browser offers one (not for a file opened from disk,
// not on an insecure origin). Without it the page works the same: it only does not install.
'use strict';

if ('serviceWorker' in navigator && window.isSecureContext && /^https?:$/.test(location.protocol)) {
  // After the page's own files have loaded, so that the worker's copies do not compete with them.
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('sw.js').catch((e) => {
      console.warn(`Tarnyx will not be kept for offline play: ${e.message}`);
    });
  });
}

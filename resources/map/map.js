// The map page of KX480 Viewer. The viewer calls positionChange(lat, lon) with two decimal
// strings while a recording plays, and track(lat1, lon1, lat2, lon2, ...) with the recording's
// fixes. With Leaflet the position shows over online map tiles; the route is drawn as a line
// on top, so it shows even when no tile loads. Without Leaflet (built offline) a canvas draws
// the route and the marker.
(function () {
  'use strict';

  var ZOOM = 15;
  var TRACK_COLOUR = '#2f8cff';
  var MARKER_COLOUR = '#ff3b30';

  var route = [];      // [[lat, lon], ...]
  var position = null; // [lat, lon]

  function number(text) {
    var value = parseFloat(text);
    return isFinite(value) ? value : null;
  }

  function pairs(args) {
    var points = [];
    for (var i = 0; i + 1 < args.length; i += 2) {
      var lat = number(args[i]);
      var lon = number(args[i + 1]);
      if (lat !== null && lon !== null) points.push([lat, lon]);
    }
    return points;
  }

  // ---- Leaflet ---------------------------------------------------------------------------------
  function LeafletMap() {
    var map = L.map('map', { zoomControl: true, attributionControl: true });
    L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {
      maxZoom: 19,
      attribution: '&copy; OpenStreetMap contributors'
    }).addTo(map);
    map.setView([0, 0], 2);
    var line = L.polyline([], { color: TRACK_COLOUR, weight: 4, opacity: 0.9 }).addTo(map);
    var marker = null;
    // Views are set without animation: Leaflet ignores a new view while a zoom animation runs,
    // and the first fix often arrives right after the route.

    this.showRoute = function () {
      line.setLatLngs(route);
      if (!position && route.length) map.fitBounds(line.getBounds(), { maxZoom: ZOOM, animate: false });
    };
    this.showPosition = function (first) {
      if (!marker) {
        marker = L.circleMarker(position, {
          radius: 8, color: '#ffffff', weight: 2, fillColor: MARKER_COLOUR, fillOpacity: 1
        }).addTo(map);
      } else {
        marker.setLatLng(position);
      }
      if (first) map.setView(position, ZOOM, { animate: false });
      else if (!map.getBounds().pad(-0.1).contains(position)) map.panTo(position);
    };
    this.markerPosition = function () {
      return marker ? marker.getLatLng() : null;
    };
    this.resize = function () { map.invalidateSize(); };
  }

  // ---- Canvas without tiles --------------------------------------------------------------------
  function CanvasMap() {
    var canvas = document.getElementById('route');
    document.body.className = 'no-leaflet';

    // Equirectangular projection centred on the marker (the route's middle before the first
    // fix), with the longitude scaled by the cosine of the latitude so that the route keeps its
    // shape, and a scale that fits every point of the route around that centre.
    function draw() {
      var ratio = window.devicePixelRatio || 1;
      var width = canvas.clientWidth;
      var height = canvas.clientHeight;
      canvas.width = Math.max(1, Math.round(width * ratio));
      canvas.height = Math.max(1, Math.round(height * ratio));
      var g = canvas.getContext('2d');
      g.setTransform(ratio, 0, 0, ratio, 0, 0);
      g.fillStyle = '#333333';
      g.fillRect(0, 0, width, height);
      var points = route.slice();
      if (position) points.push(position);
      if (!points.length) return;
      var centre = position;
      if (!centre) {
        var south = Infinity, north = -Infinity, west = Infinity, east = -Infinity;
        points.forEach(function (p) {
          south = Math.min(south, p[0]); north = Math.max(north, p[0]);
          west = Math.min(west, p[1]); east = Math.max(east, p[1]);
        });
        centre = [(south + north) / 2, (west + east) / 2];
      }
      var xScale = Math.cos(centre[0] * Math.PI / 180);
      var reachX = 0.001, reachY = 0.001;
      points.forEach(function (p) {
        reachX = Math.max(reachX, Math.abs(p[1] - centre[1]) * xScale);
        reachY = Math.max(reachY, Math.abs(p[0] - centre[0]));
      });
      var margin = 20;
      var scale = Math.max(0, Math.min((width / 2 - margin) / reachX,
                                       (height / 2 - margin) / reachY));
      function at(p) {
        return [width / 2 + (p[1] - centre[1]) * xScale * scale,
                height / 2 - (p[0] - centre[0]) * scale];
      }
      if (route.length > 1) {
        g.strokeStyle = TRACK_COLOUR;
        g.lineWidth = 4;
        g.lineJoin = 'round';
        g.beginPath();
        route.forEach(function (p, i) {
          var xy = at(p);
          if (i === 0) g.moveTo(xy[0], xy[1]); else g.lineTo(xy[0], xy[1]);
        });
        g.stroke();
      }
      if (position) {
        var xy = at(position);
        g.beginPath();
        g.arc(xy[0], xy[1], 8, 0, 2 * Math.PI);
        g.fillStyle = MARKER_COLOUR;
        g.fill();
        g.lineWidth = 2;
        g.strokeStyle = '#ffffff';
        g.stroke();
      }
    }

    this.showRoute = draw;
    this.showPosition = draw;
    this.markerPosition = function () {
      return position ? { lat: position[0], lng: position[1] } : null;
    };
    this.resize = draw;
  }

  var view = window.L ? new LeafletMap() : new CanvasMap();
  window.addEventListener('resize', function () { view.resize(); });

  // Moves the marker to the fix and keeps it in view. Text that is not a number is ignored.
  window.positionChange = function (lat, lon) {
    var latitude = number(lat);
    var longitude = number(lon);
    if (latitude === null || longitude === null) return;
    var first = position === null;
    position = [latitude, longitude];
    view.showPosition(first);
  };

  // The recording's route: latitude and longitude pairs, each as text.
  window.track = function () {
    route = pairs(Array.prototype.slice.call(arguments));
    view.showRoute();
  };

  // Where the page shows the marker, "lat,lon" with six decimals; empty before the first fix.
  window.markerPosition = function () {
    var p = view.markerPosition();
    return p ? p.lat.toFixed(6) + ',' + p.lng.toFixed(6) : '';
  };

  // How many fixes the route drawn has.
  window.routeLength = function () {
    return String(route.length);
  };

  // Which drawing the page uses: "leaflet" or "canvas".
  window.mapRenderer = function () {
    return window.L ? 'leaflet' : 'canvas';
  };
})();
